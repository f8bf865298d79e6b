#include "Regions/GRegion.h"
#include "Errors/GLibraryExceptions.h"
#include "Regions/RegionRecord.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"
#include "gdi/GdiObjects.h"

#include <gtest/gtest.h>

#include <bitset>
#include <climits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <vector>

namespace {

constexpr int Grid = 16;
using Pixels = std::bitset<Grid * Grid>;

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Pixels pixelsOf(const GRegion& region) {
    Pixels p;
    for (int y = 0; y < Grid; ++y)
        for (int x = 0; x < Grid; ++x)
            p[static_cast<std::size_t>(y * Grid + x)] = region.contains(x, y);
    return p;
}

Pixels pixelsOf(const RECT& r) {
    Pixels p;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, Grid); ++y)
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, Grid); ++x)
            p[static_cast<std::size_t>(y * Grid + x)] = true;
    return p;
}

// The band list's rules: bands ascend, every x list ascends strictly in pairs, the first band covers something,
// no two empty bands follow each other, the last band is empty, and the cached bounds match the bands.
void expectWellFormed(const GRegion& region) {
    const RegionRecord* record = region.record();
    if (record == nullptr)
        return;
    const BandView view(record);
    ASSERT_GE(view.count, 2);
    ASSERT_GT(view.length(0), 0);
    ASSERT_EQ(view.length(view.count - 1), 0);
    for (int i = 0; i < view.count; ++i) {
        ASSERT_EQ(view.length(i) % 2, 0);
        if (i > 0) {
            ASSERT_LT(view.y(i - 1), view.y(i));
            ASSERT_FALSE(view.length(i - 1) == 0 && view.length(i) == 0);
        }
        for (int k = 1; k < view.length(i); ++k)
            ASSERT_LT(view.list(i)[k - 1], view.list(i)[k]);
    }
    RECT bounds{INT32_MAX, view.y(0), INT32_MIN, view.y(view.count - 1)};
    for (const RECT& r : region.rectangles()) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.right = std::max(bounds.right, r.right);
    }
    ASSERT_TRUE(same(region.bounding_rect(), bounds));
}

RECT randomRect(std::mt19937& random) {
    const int x = static_cast<int>(random() % Grid), y = static_cast<int>(random() % Grid);
    const int w = static_cast<int>(random() % 8), h = static_cast<int>(random() % 8);
    return {x, y, std::min(x + w, Grid), std::min(y + h, Grid)};
}

GRegion randomRegion(std::mt19937& random, Pixels& pixels) {
    GRegion region;
    pixels.reset();
    const int count = static_cast<int>(random() % 5);
    for (int k = 0; k < count; ++k) {
        const RECT r = randomRect(random);
        if (random() % 4 == 0) {
            region -= r;
            pixels &= ~pixelsOf(r);
        } else {
            region |= r;
            pixels |= pixelsOf(r);
        }
    }
    return region;
}

} // namespace

TEST(GRegion, TouchingSquaresMakeOneBand) {
    GRegion region = GRegion(RECT{0, 0, 10, 10}) | RECT{10, 0, 20, 10};
    const std::vector<RECT> rects = region.rectangles();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(same(rects[0], RECT{0, 0, 20, 10}));
    EXPECT_EQ(BandView(region.record()).count, 2);
}

TEST(GRegion, SquareWithAHole) {
    const GRegion region = GRegion(RECT{0, 0, 10, 10}) - RECT{2, 2, 8, 8};
    const std::vector<RECT> rects = region.rectangles();
    const RECT expected[] = {{0, 0, 10, 2}, {0, 2, 2, 8}, {8, 2, 10, 8}, {0, 8, 10, 10}};
    ASSERT_EQ(rects.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(same(rects[i], expected[i])) << i;
    EXPECT_TRUE(region.contains(9, 9));
    EXPECT_FALSE(region.contains(5, 5));
    EXPECT_FALSE(region.contains(10, 10));
    EXPECT_TRUE(same(region.bounding_rect(), RECT{0, 0, 10, 10}));

    int calls = 0;
    region.enumerate(
        [](const RECT&, void* context) {
            return ++*static_cast<int*>(context) < 2; // stop after the second
        },
        &calls);
    EXPECT_EQ(calls, 2);

    std::ostringstream text;
    text << region;
    EXPECT_EQ(text.str(), "\n0 0 10 2\n0 2 2 8\n8 2 10 8\n0 8 10 10\n");
    std::ostringstream clear;
    clear << GRegion();
    EXPECT_EQ(clear.str(), "clear\n");
}

TEST(GRegion, EmptyRegionsAndEdgeBands) {
    GRegion empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(GRegion(RECT{5, 5, 5, 9}).isEmpty());
    EXPECT_TRUE(same(empty.bounding_rect(), RECT{0, 0, 0, 0}));
    EXPECT_FALSE(empty.contains(RECT{0, 0, 1, 1}));
    EXPECT_FALSE(GRegion(RECT{0, 0, 4, 4}).contains(empty));
    EXPECT_FALSE(empty.hasCommonParts(empty));
    EXPECT_EQ(empty, GRegion());
    EXPECT_TRUE((GRegion(RECT{0, 0, 4, 4}) & RECT{4, 0, 8, 4}).isEmpty());

    // Cutting off the bottom half leaves one bottom edge, where the cut is.
    GRegion top = GRegion(RECT{0, 0, 10, 10}) - RECT{0, 5, 10, 10};
    expectWellFormed(top);
    EXPECT_TRUE(same(top.bounding_rect(), RECT{0, 0, 10, 5}));
    // Cutting off the top half starts the region at its first covered row.
    GRegion bottom = GRegion(RECT{0, 0, 10, 10}) - RECT{0, 0, 10, 5};
    EXPECT_EQ(BandView(bottom.record()).y(0), 5);

    GRegion same = GRegion(RECT{0, 0, 3, 3}) | RECT{5, 5, 6, 6};
    EXPECT_TRUE((same ^ same).isEmpty());
    EXPECT_TRUE(same.hasCommonParts(same));
    EXPECT_TRUE(same.contains(same));
}

TEST(GRegion, CopiesShareUntilOneChanges) {
    GRegion a(RECT{0, 0, 10, 10});
    GRegion b = a;
    EXPECT_EQ(a.record(), b.record());
    b += POINT{5, 0};
    EXPECT_NE(a.record(), b.record());
    EXPECT_TRUE(a.contains(0, 0));
    EXPECT_FALSE(b.contains(0, 0));
    EXPECT_TRUE(b.contains(14, 9));
    EXPECT_TRUE(same(b.bounding_rect(), RECT{5, 0, 15, 10}));
    GRegion c = b;
    c -= POINT{5, 0};
    EXPECT_EQ(c, a);
    EXPECT_TRUE(same(b.bounding_rect(), RECT{5, 0, 15, 10}));
    GRegion alone(RECT{0, 0, 2, 2});
    const RegionRecord* record = alone.record();
    alone += POINT{1, 1}; // the only user changes its record in place
    EXPECT_EQ(alone.record(), record);
}

TEST(GRegion, SetOperationsMatchPixels) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 3000; ++trial) {
        Pixels pa, pb;
        const GRegion a = randomRegion(random, pa);
        const GRegion b = randomRegion(random, pb);
        ASSERT_EQ(pixelsOf(a), pa);
        const RECT r = randomRect(random);
        const Pixels pr = pixelsOf(r);
        const std::pair<GRegion, Pixels> cases[] = {
            {a | b, pa | pb},  {a + b, pa | pb},
            {a & b, pa & pb},  {a - b, pa & ~pb},
            {a ^ b, pa ^ pb},  {a | r, pa | pr},
            {r | a, pa | pr},  {a & r, pa & pr},
            {r & a, pa & pr},  {a - r, pa & ~pr},
            {r - a, pr & ~pa}, {a ^ r, pa ^ pr},
            {r ^ a, pa ^ pr},  {(a | b) - (a & b), pa ^ pb},
        };
        for (const auto& [region, pixels] : cases) {
            ASSERT_EQ(pixelsOf(region), pixels) << trial;
            expectWellFormed(region);
            ASSERT_EQ(region.isEmpty(), pixels.none());
        }
        EXPECT_EQ(a ^ b, (a | b) - (a & b));
        GRegion inPlace = a;
        inPlace &= b;
        ASSERT_EQ(inPlace, a & b);
        inPlace = a;
        inPlace ^= r;
        ASSERT_EQ(inPlace, a ^ r);

        ASSERT_EQ(a.contains(b), !pa.none() && !pb.none() && (pb & ~pa).none()) << trial;
        ASSERT_EQ(a.contains(r), !pa.none() && !pr.none() && (pr & ~pa).none()) << trial;
        ASSERT_EQ(a.hasCommonParts(b), (pa & pb).any()) << trial;
        ASSERT_EQ(a.hasCommonParts(r), (pa & pr).any()) << trial;
    }
}

// Rectangles in any order are united in halves; the band list is the one uniting them one by one gives.
TEST(GRegion, UnitingManyRectanglesInAnyOrder) {
    std::mt19937 random(8);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<RECT> rects(1 + random() % 30);
        GRegion oneByOne;
        for (RECT& r : rects) {
            r = randomRect(random);
            oneByOne |= r;
        }
        const GRegion united = GRegion::united(rects);
        ASSERT_EQ(united, oneByOne) << trial;
        ASSERT_EQ(GRegion::united(united.rectangles()), united); // banded input is taken over as it is
    }
    EXPECT_TRUE(GRegion::united({}).isEmpty());
}

TEST(GRegion, ClipsSpansAndBoxes) {
    const GRegion region = GRegion(RECT{0, 0, 4, 4}) | RECT{6, 0, 10, 4} | RECT{0, 6, 10, 8};
    int out[16];
    ASSERT_EQ(region.clip_hline(8, 1, 2, out), 2); // the ends are put in order
    EXPECT_EQ((std::vector<int>(out, out + 4)), (std::vector<int>{2, 4, 6, 8}));
    ASSERT_EQ(region.clip_hline(4, 1, 5, out), 0); // [4, 5] lies in the gap
    ASSERT_EQ(region.clip_hline(0, 1, 6, out), 2); // x0 <= x2: the right square starts at 6
    EXPECT_EQ((std::vector<int>(out, out + 4)), (std::vector<int>{0, 4, 6, 6}));
    EXPECT_EQ(region.clip_hline(0, 5, 9, out), 0);
    EXPECT_EQ(region.clip_hline(0, 8, 9, out), 0);

    ASSERT_EQ(region.clip_box(9, 7, 3, 2, out), 3);
    EXPECT_EQ((std::vector<int>(out, out + 12)), (std::vector<int>{3, 2, 4, 4, 6, 2, 9, 4, 3, 6, 9, 7}));
    EXPECT_EQ(GRegion().clip_box(0, 0, 5, 5, out), 0);
}

TEST(GRegion, Inflates) {
    GRegion region(RECT{0, 0, 10, 10});
    region.inflate(POINT{2, 3});
    EXPECT_TRUE(same(region.bounding_rect(), RECT{-2, -3, 12, 13}));
    GRegion shrunk(RECT{0, 0, 10, 10});
    shrunk.inflate(POINT{-2, -1});
    EXPECT_TRUE(same(shrunk.bounding_rect(), RECT{2, 1, 8, 9}));
    GRegion gone(RECT{0, 0, 10, 10});
    gone.inflate(POINT{-6, 0}); // the span turns over
    EXPECT_TRUE(gone.isEmpty());
    GRegion shared(RECT{0, 0, 4, 4});
    GRegion copy = shared;
    copy.inflate(POINT{1, 1});
    EXPECT_TRUE(same(shared.bounding_rect(), RECT{0, 0, 4, 4}));

    // Near the ends of the coordinates, edges stop at the 32-bit limits.
    GRegion wide(RECT{INT_MIN + 1, 0, INT_MAX - 1, 10});
    wide.inflate(POINT{5, 5});
    EXPECT_TRUE(same(wide.bounding_rect(), RECT{INT_MIN, -5, INT_MAX, 15}));
    wide.inflate(POINT{INT_MIN, 0});
    EXPECT_TRUE(wide.isEmpty());
    GRegion stripes = GRegion(RECT{INT_MAX - 4, 0, INT_MAX - 3, 1}) | RECT{INT_MAX - 2, 0, INT_MAX - 1, 1};
    stripes.inflate(POINT{INT_MAX, 0}); // both right stripes run into the limit and merge
    EXPECT_EQ(stripes.rectangleCount(), 1);
}

TEST(GRegion, MovesToTheEdgeOfTheCoordinateSpace) {
    // What would pass the 32-bit limits is cut away; the rest moves exactly.
    GRegion region(RECT{-10, 0, 10, 4});
    region += POINT{INT_MAX - 5, 0};
    expectWellFormed(region);
    EXPECT_TRUE(same(region.bounding_rect(), RECT{INT_MAX - 15, 0, INT_MAX, 4}));
    GRegion below(RECT{0, -10, 3, 10});
    below -= POINT{0, INT_MIN}; // a move by 2^31
    expectWellFormed(below);
    EXPECT_TRUE(same(below.bounding_rect(), RECT{0, INT_MAX - 9, 3, INT_MAX}));
    GRegion gone(RECT{0, 0, 10, 10});
    gone += POINT{INT_MAX, INT_MAX};
    EXPECT_TRUE(gone.isEmpty());
    GRegion back(RECT{INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN + 2});
    back += POINT{INT_MAX, INT_MAX};
    EXPECT_TRUE(same(back.bounding_rect(), RECT{-1, -1, 1, 1}));
}

TEST(GRegion, StreamsAsRectangles) {
    const GRegion region = GRegion(RECT{0, 0, 10, 10}) | RECT{20, 0, 30, 10};
    mpstream stream;
    stream << region;
    EXPECT_EQ(stream.length(), 1u + 4u + 2u * 16u);
    stream.seekg(1, GIO::FromBegin);
    EXPECT_EQ(stream.readDWord(), 2u);
    stream.seekg(0, GIO::FromBegin);
    GRegion read(RECT{1, 1, 2, 2});
    stream >> read;
    EXPECT_EQ(read, region);

    // Rectangles in any order are united.
    mpstream loose;
    loose.writeByte(0);
    loose.writeDWord(2);
    for (DWORD v : {5u, 5u, 9u, 9u, 0u, 0u, 6u, 6u})
        loose.writeDWord(v);
    loose.seekg(0, GIO::FromBegin);
    loose >> read;
    EXPECT_EQ(read, GRegion(RECT{5, 5, 9, 9}) | (RECT{0, 0, 6, 6}));

    mpstream truncated;
    truncated.writeByte(0);
    truncated.writeDWord(0xFFFFFFFF);
    truncated.writeDWord(1);
    truncated.seekg(0, GIO::FromBegin);
    EXPECT_NE(catchException<InvalidPStream_Exception>([&] { truncated >> read; }), nullptr);
}

// n nested stripes unite into about n * n / 2 rectangles; from a stream that is refused past 64 per rectangle read.
TEST(GRegion, AStreamedRegionStaysProportionalToItsData) {
    const auto stripes = [](DWORD n) {
        auto stream = std::make_unique<mpstream>();
        stream->writeByte(0);
        stream->writeDWord(n);
        for (DWORD i = 0; i < n; ++i)
            for (DWORD v : {2 * i, i, 2 * i + 1, 2 * n - i})
                stream->writeDWord(v);
        stream->seekg(0, GIO::FromBegin);
        return stream;
    };
    GRegion read;
    *stripes(60) >> read; // 60 stripes: 3600 rectangles, within 64 per rectangle read
    EXPECT_EQ(read.rectangleCount(), 60 * 60);
    auto error = catchException<InvalidPStream_Exception>([&] { *stripes(3000) >> read; });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Region of 3000 rectangles too complex to unite. Position=0");

    const std::vector<RECT> rects{RECT{2, 1, 3, 3}, RECT{0, 0, 1, 4}}; // four rectangles in three bands
    const std::optional<GRegion> within = GRegion::united(rects, 4);
    ASSERT_TRUE(within.has_value());
    EXPECT_EQ(*within, GRegion::united(rects));
    EXPECT_FALSE(GRegion::united(rects, 3).has_value());
}

TEST(GRegion, ConvertsToAndFromGdiRegions) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 300; ++trial) {
        Pixels pixels;
        const GRegion region = randomRegion(random, pixels);
        const HRGN handle = region.getHandle();
        EXPECT_EQ(handle == nullptr, region.isEmpty());
        EXPECT_EQ(region.getHandle(), handle); // kept
        const GRegion back(handle);
        ASSERT_EQ(pixelsOf(back), pixels) << trial;
        expectWellFormed(back);
    }
    GRegion changing(RECT{0, 0, 3, 3});
    changing.getHandle();
    changing |= RECT{5, 5, 6, 6};
    const GRegion back(changing.getHandle());
    EXPECT_TRUE(back.contains(5, 5));

    // A band whose rectangles overlap is refused (GDI itself never hands such data out).
    auto* overlapping = new GdiRegion;
    overlapping->rects = {{0, 0, 6, 2}, {4, 0, 9, 2}};
    const auto error = catchException<GLibraryException>([&] { GRegion refused(overlapping); });
    ASSERT_NE(error, nullptr);
    EXPECT_STREQ(error->getMessage(), "Overlapped rectangles!");
    DeleteObject(overlapping);
    auto* unordered = new GdiRegion; // out of order but apart: united
    unordered->rects = {{5, 0, 8, 2}, {0, 0, 2, 2}};
    EXPECT_EQ(GRegion(unordered), GRegion(RECT{0, 0, 2, 2}) | (RECT{5, 0, 8, 2}));
    DeleteObject(unordered);
}
