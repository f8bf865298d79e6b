#include "gdi/GdiObjects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

HRGN regionOf(std::vector<RECT> rects, DWORD declaredSize = 0) {
    std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATA*>(data.data());
    header->rdh = {sizeof(RGNDATAHEADER),
                   RDH_RECTANGLES,
                   static_cast<DWORD>(rects.size()),
                   static_cast<DWORD>(rects.size() * sizeof(RECT)),
                   {0, 0, 0, 0}};
    if (!rects.empty())
        std::memcpy(header->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return ExtCreateRegion(nullptr, declaredSize != 0 ? declaredSize : static_cast<DWORD>(data.size()), header);
}

std::vector<LONG> flat(HRGN region) {
    std::vector<LONG> values;
    for (const RECT& r : region->rects)
        values.insert(values.end(), {r.left, r.top, r.right, r.bottom});
    return values;
}

} // namespace

TEST(GdiRegion, NormalisesToBands) {
    // A plus sign given as two overlapping bars comes out as its three bands.
    HRGN plus = regionOf({{0, 1, 3, 2}, {1, 0, 2, 3}});
    EXPECT_EQ(flat(plus), (std::vector<LONG>{1, 0, 2, 1, 0, 1, 3, 2, 1, 2, 2, 3}));
    EXPECT_EQ(plus->bound.right, 3);
    EXPECT_EQ(plus->bound.bottom, 3);

    // Touching spans merge; meeting bands with the same spans merge; empty rectangles are skipped.
    HRGN merged = regionOf({{0, 0, 2, 2}, {2, 0, 4, 2}, {0, 2, 4, 5}, {7, 7, 7, 9}});
    EXPECT_EQ(flat(merged), (std::vector<LONG>{0, 0, 4, 5}));

    const DWORD size = GetRegionData(plus, 0, nullptr);
    EXPECT_EQ(size, 32u + 3u * 16u);
    std::vector<char> buffer(size);
    EXPECT_EQ(GetRegionData(plus, size - 1, reinterpret_cast<RGNDATA*>(buffer.data())), 0u);
    ASSERT_EQ(GetRegionData(plus, size, reinterpret_cast<RGNDATA*>(buffer.data())), size);
    const auto* data = reinterpret_cast<const RGNDATA*>(buffer.data());
    EXPECT_EQ(data->rdh.nCount, 3u);
    EXPECT_EQ(data->rdh.nRgnSize, 48u);
    HRGN again = ExtCreateRegion(nullptr, size, data);
    EXPECT_EQ(flat(again), flat(plus));
    EXPECT_TRUE(DeleteObject(plus));
    EXPECT_TRUE(DeleteObject(merged));
    EXPECT_TRUE(DeleteObject(again));
}

TEST(GdiRegion, RefusesShortData) {
    EXPECT_EQ(regionOf({{0, 0, 1, 1}, {2, 2, 3, 3}}, 32 + 16), nullptr); // two rectangles declared, one present
    EXPECT_EQ(ExtCreateRegion(nullptr, 16, nullptr), nullptr);
    HRGN empty = regionOf({});
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetRegionData(empty, 0, nullptr), 32u);
    DeleteObject(empty);
}
