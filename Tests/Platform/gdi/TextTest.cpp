// Text with system fonts: sizes by LOGFONT's rules, extents, DrawText's placement and measuring, and pixels that
// land where the measures say.

#include "Platform/gdi/GdiTesting.h"
#include "gdi/Fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

LOGFONTA describe(const char* face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

// A black 32-bit canvas with a font selected, white text on a transparent background.
struct TextCanvas {
    explicit TextCanvas(const LOGFONTA& description, int width = 200, int height = 60, int depth = 32)
        : target(section(width, height, depth, nullptr)), font(CreateFontIndirectA(&description)) {
        old = SelectObject(target.dc, font);
        SetTextColor(target.dc, RGB(255, 255, 255));
        SetBkMode(target.dc, TRANSPARENT);
    }
    ~TextCanvas() {
        SelectObject(target.dc, old);
        DeleteObject(font);
    }
    SIZE extent(const char* text) {
        SIZE size{};
        GetTextExtentPoint32A(target.dc, text, static_cast<int>(std::strlen(text)), &size);
        return size;
    }
    // The smallest rectangle holding every pixel that is not black.
    RECT inked() const {
        RECT box{INT32_MAX, INT32_MAX, -1, -1};
        for (int y = 0; y < target.bitmap->height; ++y)
            for (int x = 0; x < target.bitmap->width; ++x)
                if (target.bitmap->colourAt(x, y) != 0) {
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                           std::max<LONG>(box.bottom, y + 1)};
                }
        return box;
    }
    Selected target;
    HFONT font;
    HGDIOBJ old;
};

} // namespace

TEST(Text, HeightsFollowLogfontRules) {
    for (const char* face : {"Arial", "Times New Roman", "Courier New", "No Such Face At All"}) {
        SCOPED_TRACE(face);
        TextCanvas em(describe(face, -16));
        ASSERT_NE(em.font, nullptr);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(em.target.dc, &tm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16); // a negative height is the character height
        TextCanvas cell(describe(face, 20));
        GetTextMetricsA(cell.target.dc, &tm);
        EXPECT_NEAR(tm.tmHeight, 20, 1); // a positive one the cell height
    }
}

TEST(Text, ExtentsGrowWithTheTextTheSizeAndTheWeight) {
    TextCanvas small(describe("Arial", -12));
    TextCanvas large(describe("Arial", -24));
    TextCanvas bold(describe("Arial", -12, FW_BOLD));
    EXPECT_GT(small.extent("Hello").cx, small.extent("Hell").cx);
    EXPECT_EQ(small.extent("").cx, 0);
    EXPECT_GT(large.extent("Hello").cx, small.extent("Hello").cx * 3 / 2);
    EXPECT_GT(large.extent("Hello").cy, small.extent("Hello").cy);
    EXPECT_GT(bold.extent("Hello world").cx, small.extent("Hello world").cx);
    EXPECT_GT(small.extent("\xC3\xA9t\xC3\xA9").cx, small.extent("t").cx); // UTF-8
}

TEST(Text, DrawnTextLandsInsideItsCalculatedRectangle) {
    for (const int depth : {1, 8, 32}) {
        SCOPED_TRACE(depth);
        TextCanvas canvas(describe("Arial", -20), 200, 60, depth);
        RECT measured{10, 8, 10, 8};
        const int height = DrawTextA(canvas.target.dc, "Quick fox", -1, &measured, DT_CALCRECT | DT_NOPREFIX);
        TEXTMETRICA tm{};
        GetTextMetricsA(canvas.target.dc, &tm);
        EXPECT_EQ(height, tm.tmHeight);
        EXPECT_EQ(measured.right - measured.left, canvas.extent("Quick fox").cx);
        EXPECT_EQ(measured.bottom - measured.top, tm.tmHeight);
        RECT where{10, 8, 190, 50};
        DrawTextA(canvas.target.dc, "Quick fox", -1, &where, DT_NOCLIP | DT_NOPREFIX);
        const RECT ink = canvas.inked();
        ASSERT_GE(ink.right, ink.left);
        EXPECT_GE(ink.left, measured.left);
        EXPECT_GE(ink.top, measured.top);
        EXPECT_LE(ink.right, measured.right);
        EXPECT_LE(ink.bottom, measured.bottom);
        EXPECT_GT((ink.right - ink.left) * 10, (measured.right - measured.left) * 8);
    }
}

TEST(Text, PlacementClippingBackgroundAndLines) {
    TextCanvas canvas(describe("Arial", -16));
    const SIZE size = canvas.extent("Centre");
    RECT box{0, 0, 200, 60};
    DrawTextA(canvas.target.dc, "Centre", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = canvas.inked();
    EXPECT_NEAR((ink.left + ink.right) / 2, 100, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 4);
    EXPECT_LE(ink.right - ink.left, size.cx);

    // Clipped to a rectangle unless told not to be.
    TextCanvas clipped(describe("Arial", -16));
    RECT narrow{0, 0, 10, 60};
    DrawTextA(clipped.target.dc, "Wide text", -1, &narrow, DT_SINGLELINE);
    EXPECT_LE(clipped.inked().right, 10);

    // An opaque background fills the text's whole cell.
    TextCanvas opaque(describe("Arial", -16));
    SetBkMode(opaque.target.dc, OPAQUE);
    SetBkColor(opaque.target.dc, RGB(0, 0, 255));
    TextOutA(opaque.target.dc, 5, 5, "ab", 2);
    const SIZE cell = opaque.extent("ab");
    EXPECT_EQ(opaque.target.bitmap->colourAt(5, 5), 0x0000FFu);
    EXPECT_EQ(opaque.target.bitmap->colourAt(5 + cell.cx - 1, 5 + cell.cy - 1), 0x0000FFu);
    EXPECT_EQ(opaque.target.bitmap->colourAt(5 + cell.cx, 5), 0u);

    // An underlined font draws a line under the whole text, below the baseline.
    LOGFONTA underlined = describe("Arial", -16);
    underlined.lfUnderline = 1;
    TextCanvas lined(underlined);
    TextOutA(lined.target.dc, 0, 0, "ooo", 3);
    TEXTMETRICA tm{};
    GetTextMetricsA(lined.target.dc, &tm);
    const RECT inkLined = lined.inked();
    EXPECT_GT(inkLined.bottom, tm.tmAscent);
    EXPECT_EQ(inkLined.left, 0);
}

TEST(Text, PrefixesAndLines) {
    TextCanvas canvas(describe("Arial", -16));
    RECT prefixed{0, 0, 0, 0};
    RECT plain{0, 0, 0, 0};
    RECT literal{0, 0, 0, 0};
    DrawTextA(canvas.target.dc, "&File", -1, &prefixed, DT_CALCRECT);
    DrawTextA(canvas.target.dc, "File", -1, &plain, DT_CALCRECT);
    DrawTextA(canvas.target.dc, "&File", -1, &literal, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(prefixed.right, plain.right);
    EXPECT_GT(literal.right, plain.right);
    RECT twoLines{0, 0, 0, 0};
    const int height = DrawTextA(canvas.target.dc, "one\r\nlonger line", -1, &twoLines, DT_CALCRECT);
    EXPECT_EQ(height, 2 * canvas.extent("x").cy);
    EXPECT_EQ(twoLines.right, canvas.extent("longer line").cx);
    RECT single{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(canvas.target.dc, "one\nline", -1, &single, DT_CALCRECT | DT_SINGLELINE),
              canvas.extent("x").cy);
}

TEST(Text, StockFontsAndTheDefault) {
    Selected target(section(4, 4, 32, nullptr));
    TEXTMETRICA system{};
    ASSERT_TRUE(GetTextMetricsA(target.dc, &system)); // a new context draws with the system font
    auto* gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_NE(gui, nullptr);
    HGDIOBJ old = SelectObject(target.dc, gui);
    EXPECT_EQ(old, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA dialog{};
    GetTextMetricsA(target.dc, &dialog);
    EXPECT_EQ(dialog.tmHeight - dialog.tmInternalLeading, 11);
    EXPECT_TRUE(DeleteObject(gui)); // stock: kept
    SelectObject(target.dc, old);
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), gui);
}

TEST(Text, InstalledFamiliesIncludeTheMetricTwins) {
    std::vector<std::string> families;
    EnumFontFamiliesExA(
        nullptr, nullptr,
        [](const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
            reinterpret_cast<std::vector<std::string>*>(data)->push_back(font->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&families), 0);
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_NE(std::find(families.begin(), families.end(), "Liberation Sans"), families.end());
}
