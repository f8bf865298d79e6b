#include "Platform/gdi/GdiTesting.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

std::vector<DWORD> rowOf(HBITMAP bitmap, int y) {
    std::vector<DWORD> values;
    for (int x = 0; x < bitmap->width; ++x)
        values.push_back(bitmap->rawAt(x, y));
    return values;
}

} // namespace

TEST(DIBSection, LayoutAndOwnership) {
    void* pixels = nullptr;
    HBITMAP bitmap = section(10, 3, 1, &pixels);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_NE(pixels, nullptr);
    EXPECT_EQ(bitmap->stride, 4);
    static_cast<BYTE*>(pixels)[4] = 0x80; // row 1 is the second row in memory: top-down
    EXPECT_EQ(bitmap->rawAt(0, 1), 1u);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ stock = SelectObject(dc, bitmap);
    EXPECT_NE(stock, nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)); // still selected
    SelectObject(dc, stock);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(dc));

    Info bad{};
    bad.header = {sizeof(BITMAPINFOHEADER), 0, 5, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bad), DIB_RGB_COLORS, &pixels, nullptr, 0),
              nullptr);
    EXPECT_EQ(pixels, nullptr);
}

TEST(BitBlt, CopiesClipsAndConvertsColours) {
    void* bits = nullptr;
    Selected source(section(4, 2, 32, &bits));
    auto* words = static_cast<DWORD*>(bits);
    for (int i = 0; i < 8; ++i)
        words[i] = 0xFF000000u + static_cast<DWORD>(i);
    Selected target(section(3, 3, 32, nullptr));
    EXPECT_TRUE(BitBlt(target.dc, -1, 1, 4, 2, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(rowOf(target.bitmap, 1), (std::vector<DWORD>{0xFF000001u, 0xFF000002u, 0xFF000003u}));
    EXPECT_EQ(rowOf(target.bitmap, 0), (std::vector<DWORD>{0, 0, 0}));
    EXPECT_FALSE(BitBlt(target.dc, 0, 0, 1, 1, source.dc, 0, 0, 0x00AA0029)); // an operation not supported

    // A one-bit section with an inverted table comes out inverted on 24 bits.
    Selected mask(section(2, 1, 1, &bits, true));
    static_cast<BYTE*>(bits)[0] = 0x80;
    Selected colour(section(2, 1, 24, nullptr));
    BitBlt(colour.dc, 0, 0, 2, 1, mask.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(rowOf(colour.bitmap, 0), (std::vector<DWORD>{0x000000u, 0xFFFFFFu}));
    // And back to a normal one-bit section: nearest colours.
    Selected plain(section(2, 1, 1, nullptr));
    BitBlt(plain.dc, 0, 0, 2, 1, colour.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(rowOf(plain.bitmap, 0), (std::vector<DWORD>{0, 1}));
}

TEST(BitBlt, CornersAnywhereInTheCoordinateSpace) {
    void* bits = nullptr;
    Selected source(section(2, 2, 32, &bits));
    std::memset(bits, 0x7F, 16);
    Selected target(section(2, 2, 32, nullptr));
    for (const int far : {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1}) {
        EXPECT_TRUE(BitBlt(target.dc, far, 0, INT_MAX, 2, source.dc, 0, 0, SRCCOPY));
        EXPECT_TRUE(BitBlt(target.dc, 0, far, 2, INT_MAX, source.dc, 0, 0, SRCCOPY));
        EXPECT_TRUE(BitBlt(target.dc, 0, 0, INT_MAX, INT_MAX, source.dc, far, far, SRCCOPY));
        EXPECT_TRUE(PatBlt(target.dc, far, far, INT_MAX, INT_MAX, BLACKNESS));
    }
    EXPECT_EQ(rowOf(target.bitmap, 1), (std::vector<DWORD>{0, 0})); // the last fill covered everything
    // A corner far to the left with a width that reaches back in copies the part that overlaps.
    EXPECT_TRUE(BitBlt(target.dc, INT_MIN + 1, 0, INT_MAX, 1, source.dc, INT_MIN + 1, 0, SRCCOPY));
    EXPECT_EQ(rowOf(target.bitmap, 0), (std::vector<DWORD>{0, 0}));
}

TEST(StretchBlt, GdiPixelMapping) {
    void* bits = nullptr;
    Selected two(section(2, 1, 8, &bits));
    static_cast<BYTE*>(bits)[0] = 10;
    static_cast<BYTE*>(bits)[1] = 20;
    Selected five(section(5, 1, 8, nullptr));
    StretchBlt(five.dc, 0, 0, 5, 1, two.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(rowOf(five.bitmap, 0), (std::vector<DWORD>{10, 10, 10, 20, 20}));

    // Shrinking 4 -> 2 by modes on a row 1 0 1 1: AND keeps 0 1, OR 1 1.
    Selected four(section(4, 1, 1, &bits));
    static_cast<BYTE*>(bits)[0] = 0xB0;
    Selected out(section(2, 1, 1, nullptr));
    StretchBlt(out.dc, 0, 0, 2, 1, four.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(rowOf(out.bitmap, 0), (std::vector<DWORD>{0, 1}));
    EXPECT_EQ(SetStretchBltMode(out.dc, WHITEONBLACK), BLACKONWHITE);
    StretchBlt(out.dc, 0, 0, 2, 1, four.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(rowOf(out.bitmap, 0), (std::vector<DWORD>{1, 1}));
    SetStretchBltMode(out.dc, COLORONCOLOR); // the last of each group
    StretchBlt(out.dc, 0, 0, 2, 1, four.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(rowOf(out.bitmap, 0), (std::vector<DWORD>{0, 1}));
}

TEST(BitBlt, RasterOperationsMixRawValues) {
    void* bits = nullptr;
    Selected source(section(4, 1, 8, &bits));
    const BYTE s[] = {0x0F, 0xF0, 0xFF, 0x00};
    std::memcpy(bits, s, 4);
    Selected target(section(4, 1, 8, &bits));
    const auto blit = [&](DWORD rop) {
        const BYTE d[] = {0x33, 0x33, 0x33, 0x33};
        std::memcpy(bits, d, 4);
        BitBlt(target.dc, 0, 0, 4, 1, source.dc, 0, 0, rop);
        return rowOf(target.bitmap, 0);
    };
    using Row = std::vector<DWORD>;
    EXPECT_EQ(blit(SRCAND), (Row{0x03, 0x30, 0x33, 0x00}));
    EXPECT_EQ(blit(SRCPAINT), (Row{0x3F, 0xF3, 0xFF, 0x33}));
    EXPECT_EQ(blit(SRCINVERT), (Row{0x3C, 0xC3, 0xCC, 0x33}));
    EXPECT_EQ(blit(SRCERASE), (Row{0x0C, 0xC0, 0xCC, 0x00}));
    EXPECT_EQ(blit(NOTSRCCOPY), (Row{0xF0, 0x0F, 0x00, 0xFF}));
    EXPECT_EQ(blit(MERGEPAINT), (Row{0xF3, 0x3F, 0x33, 0xFF}));
    EXPECT_EQ(blit(DSTINVERT), (Row{0xCC, 0xCC, 0xCC, 0xCC}));
    EXPECT_EQ(blit(BLACKNESS), (Row{0, 0, 0, 0}));

    // One-bit masks: AND and OR combine bits.
    Selected maskA(section(8, 1, 1, &bits));
    static_cast<BYTE*>(bits)[0] = 0xCC;
    Selected maskB(section(8, 1, 1, &bits));
    static_cast<BYTE*>(bits)[0] = 0xAA;
    BitBlt(maskB.dc, 0, 0, 8, 1, maskA.dc, 0, 0, SRCAND);
    EXPECT_EQ(static_cast<BYTE*>(bits)[0], 0x88);
}
