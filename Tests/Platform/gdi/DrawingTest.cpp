// The pixels GDI's shapes cover, on 1-, 8- and 32-bit bitmaps, against hand-worked grids.

#include "Platform/gdi/GdiTesting.h"
#include "win/MulDiv.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Grid = std::vector<std::string>;

const int Depths[] = {1, 8, 32};

DWORD whiteValue(int depth) {
    return depth == 1 ? 1 : depth == 8 ? 255 : 0xFFFFFF;
}

enum Tools { PenAndBrush, PenOnly, BrushOnly };

// Draws in white with the tools asked for on a black bitmap of the depth, and gives the white pixels.
Grid draw(int depth, int width, int height, Tools tools, const std::function<void(HDC)>& paint) {
    Selected target(section(width, height, depth, nullptr));
    SelectObject(target.dc, static_cast<HPEN>(GetStockObject(tools == BrushOnly ? NULL_PEN : WHITE_PEN)));
    SelectObject(target.dc, static_cast<HBRUSH>(GetStockObject(tools == PenOnly ? NULL_BRUSH : WHITE_BRUSH)));
    paint(target.dc);
    return picture(target.bitmap, whiteValue(depth));
}

Grid polygon(int depth, int size, Tools tools, std::vector<POINT> points, int mode = ALTERNATE) {
    return draw(depth, size, size, tools, [&](HDC dc) {
        SetPolyFillMode(dc, mode);
        Polygon(dc, points.data(), static_cast<int>(points.size()));
    });
}

// The rows of an ellipse of W x H pixels from their insets.
Grid ellipseRows(int width, const std::vector<int>& insets) {
    Grid rows;
    for (const int inset : insets)
        rows.push_back(std::string(static_cast<std::size_t>(inset), '.') +
                       std::string(static_cast<std::size_t>(width - 2 * inset), '#') +
                       std::string(static_cast<std::size_t>(inset), '.'));
    return rows;
}

std::vector<std::pair<int, int>> linePoints(int x1, int y1, int x2, int y2) {
    std::vector<std::pair<int, int>> points;
    LineDDA(
        x1, y1, x2, y2,
        [](int x, int y, LPARAM data) {
            reinterpret_cast<std::vector<std::pair<int, int>>*>(data)->emplace_back(x, y);
        },
        reinterpret_cast<LPARAM>(&points));
    return points;
}

} // namespace

TEST(Polygon, FillAndOutlineFollowGdi) {
    const std::vector<POINT> triangle = {{3, 0}, {6, 5}, {0, 5}};
    const std::vector<POINT> pentagram = {{4, 0}, {6, 8}, {0, 3}, {8, 3}, {2, 8}};
    for (const int depth : Depths) {
        SCOPED_TRACE(depth);
        EXPECT_EQ(polygon(depth, 6, BrushOnly, {{0, 0}, {4, 0}, {4, 4}, {0, 4}}),
                  (Grid{"####..", "####..", "####..", "####..", "......", "......"}));
        EXPECT_EQ(polygon(depth, 6, PenAndBrush, {{0, 0}, {4, 0}, {4, 4}, {0, 4}}),
                  (Grid{"#####.", "#####.", "#####.", "#####.", "#####.", "......"}));
        EXPECT_EQ(polygon(depth, 7, BrushOnly, triangle),
                  (Grid{".......", "...#...", "..###..", "..###..", ".#####.", ".......", "......."}));
        EXPECT_EQ(polygon(depth, 7, PenOnly, triangle),
                  (Grid{"...#...", "..#.#..", "..#.#..", ".#...#.", ".#...#.", "#######", "......."}));
        EXPECT_EQ(polygon(depth, 9, BrushOnly, pentagram, ALTERNATE),
                  (Grid{".........", "....#....", "....#....", "####.###.", "..#..##..", ".........", "...#.#...",
                        "...#.#...", "........."}));
        EXPECT_EQ(polygon(depth, 9, BrushOnly, pentagram, WINDING),
                  (Grid{".........", "....#....", "....#....", "########.", "..#####..", "...###...", "...###...",
                        "...#.#...", "........."}));
        EXPECT_EQ(polygon(depth, 9, PenAndBrush, pentagram, WINDING),
                  (Grid{"....#....", "....#....", "...##....", "#########", ".#######.", "..#####..", "..####...",
                        "..##.##..", "..#...#.."}));
    }
    // The same shape listed the other way round, and partly outside the bitmap.
    EXPECT_EQ(polygon(8, 7, PenAndBrush, {{0, 5}, {6, 5}, {3, 0}}), polygon(8, 7, PenAndBrush, triangle));
    EXPECT_EQ(polygon(1, 4, PenAndBrush, {{-3, -3}, {2, -3}, {2, 2}, {-3, 2}}), (Grid{"###.", "###.", "###.", "...."}));
    EXPECT_EQ(polygon(1, 6, PenAndBrush, {{0, 0}, {5, 2}}),
              (Grid{"##....", "..##..", "....##", "......", "......", "......"}));
}

TEST(Ellipse, RowsFollowGdiForEverySize) {
    const std::vector<std::pair<std::pair<int, int>, std::vector<int>>> table = {
        {{3, 3}, {1, 0, 1}},
        {{4, 4}, {1, 0, 0, 1}},
        {{5, 5}, {1, 0, 0, 0, 1}},
        {{6, 6}, {2, 1, 0, 0, 1, 2}},
        {{7, 7}, {2, 1, 0, 0, 0, 1, 2}},
        {{8, 8}, {2, 1, 0, 0, 0, 0, 1, 2}},
        {{10, 10}, {3, 2, 1, 0, 0, 0, 0, 1, 2, 3}},
        {{16, 16}, {5, 4, 2, 2, 1, 0, 0, 0, 0, 0, 0, 1, 2, 2, 4, 5}},
        {{10, 6}, {2, 1, 0, 0, 1, 2}},
        {{6, 10}, {2, 1, 0, 0, 0, 0, 0, 0, 1, 2}},
        {{20, 7}, {5, 2, 1, 0, 1, 2, 5}},
    };
    for (const auto& [size, insets] : table)
        for (const int depth : Depths)
            for (const Tools tools : {PenAndBrush, BrushOnly}) {
                const auto [width, height] = size;
                SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " depth " + std::to_string(depth));
                EXPECT_EQ(draw(depth, width, height, tools, [&](HDC dc) { Ellipse(dc, 0, 0, width, height); }),
                          ellipseRows(width, insets));
            }
}

TEST(Ellipse, SmallAndThinBoxes) {
    const auto ellipse = [](int width, int height, Tools tools) {
        return draw(8, width, height, tools, [&](HDC dc) { Ellipse(dc, 0, 0, width, height); });
    };
    EXPECT_EQ(ellipse(1, 1, PenAndBrush), (Grid{"."}));
    EXPECT_EQ(ellipse(2, 2, PenAndBrush), (Grid{"##", "##"}));
    EXPECT_EQ(ellipse(1, 4, PenAndBrush), (Grid{"#", "#", "#", "#"}));
    EXPECT_EQ(ellipse(2, 3, PenAndBrush), (Grid{"##", "##", "##"}));
    EXPECT_EQ(ellipse(3, 3, PenOnly), (Grid{".#.", "#.#", ".#."}));
    // A tall thin box that the stepping does not reach the ends of: the centre column goes on to the ends.
    const Grid thin = ellipse(3, 9, BrushOnly);
    EXPECT_EQ(thin.front(), ".#.");
    EXPECT_EQ(thin.back(), ".#.");
    EXPECT_EQ(thin[4], "###");
}

TEST(Lines, LineDdaAndPenLinesFollowGdi) {
    using Points = std::vector<std::pair<int, int>>;
    EXPECT_EQ(linePoints(0, 0, 5, 2), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(linePoints(5, 2, 0, 0), (Points{{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(linePoints(4, 2, 0, 0), (Points{{4, 2}, {3, 2}, {2, 1}, {1, 1}}));
    EXPECT_EQ(linePoints(3, 3, 3, 3), Points{});
    const Points windows = {{10, 20}, {10, 21}, {11, 22}, {11, 23}, {12, 24}, {12, 25}, {13, 26}, {13, 27},
                            {13, 28}, {14, 29}, {14, 30}, {15, 31}, {15, 32}, {16, 33}, {16, 34}, {17, 35},
                            {17, 36}, {17, 37}, {18, 38}, {18, 39}, {19, 40}, {19, 41}, {20, 42}};
    EXPECT_EQ(linePoints(10, 20, 20, 43), windows);

    const auto penLine = [](int x0, int y0, int x1, int y1) {
        return draw(8, 7, 7, PenOnly, [&](HDC dc) {
            MoveToEx(dc, x0, y0, nullptr);
            LineTo(dc, x1, y1);
        });
    };
    EXPECT_EQ(penLine(4, 2, 0, 0), (Grid{".#.....", "..##...", "....#..", ".......", ".......", ".......", "......."}));
    // Drawn either way, a pen's line covers the same pixels but for the end it leaves out.
    for (int x0 = 0; x0 < 7; ++x0)
        for (int y0 = 0; y0 < 7; ++y0)
            for (int x1 = 0; x1 < 7; ++x1)
                for (int y1 = 0; y1 < 7; ++y1) {
                    Grid forward = penLine(x0, y0, x1, y1);
                    Grid backward = penLine(x1, y1, x0, y0);
                    forward[static_cast<std::size_t>(y1)][static_cast<std::size_t>(x1)] = '#';
                    backward[static_cast<std::size_t>(y0)][static_cast<std::size_t>(x0)] = '#';
                    ASSERT_EQ(forward, backward) << x0 << "," << y0 << " - " << x1 << "," << y1;
                }
}

TEST(Lines, AnXorLineDrawnTwiceLeavesTheBitmapAsItWas) {
    for (const int depth : Depths) {
        Selected target(section(9, 9, depth, nullptr));
        SelectObject(target.dc, static_cast<HPEN>(GetStockObject(WHITE_PEN)));
        SelectObject(target.dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        Rectangle(target.dc, 2, 2, 7, 7);
        const Grid before = picture(target.bitmap, whiteValue(depth));
        SetROP2(target.dc, R2_XORPEN);
        const POINT outline[] = {{0, 0}, {8, 3}, {3, 8}, {0, 0}};
        Polyline(target.dc, outline, 4);
        EXPECT_NE(picture(target.bitmap, whiteValue(depth)), before);
        Polyline(target.dc, outline, 4);
        EXPECT_EQ(picture(target.bitmap, whiteValue(depth)), before) << depth;
    }
}

TEST(Rectangles, RectangleFillFrameInvertAndPatterns) {
    for (const int depth : Depths) {
        SCOPED_TRACE(depth);
        EXPECT_EQ(draw(depth, 5, 5, PenAndBrush, [](HDC dc) { Rectangle(dc, 0, 0, 4, 4); }),
                  (Grid{"####.", "####.", "####.", "####.", "....."}));
        EXPECT_EQ(draw(depth, 5, 5, BrushOnly, [](HDC dc) { Rectangle(dc, 0, 0, 4, 4); }),
                  (Grid{"###..", "###..", "###..", ".....", "....."}));
        EXPECT_EQ(draw(depth, 5, 4, PenOnly,
                       [](HDC dc) {
                           const RECT r{1, 0, 5, 4};
                           FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                           const RECT inner{0, 1, 3, 3};
                           InvertRect(dc, &inner);
                       }),
                  (Grid{".####", "#.#.#", "#.#.#", ".####"}));
        EXPECT_EQ(draw(depth, 4, 2, PenAndBrush,
                       [](HDC dc) {
                           PatBlt(dc, 0, 0, 3, 2, PATCOPY);
                           PatBlt(dc, 1, 0, 3, 1, PATINVERT);
                       }),
                  (Grid{"#..#", "###."}));
    }
}

TEST(Colours, PensOnOneBitBitmapsAndPixels) {
    Selected mask(section(4, 1, 1, nullptr));
    SetPixel(mask.dc, 0, 0, RGB(255, 255, 255));
    HPEN red = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(mask.dc, red);
    MoveToEx(mask.dc, 0, 0, nullptr);
    LineTo(mask.dc, 2, 0); // not one of the two colours, and not the white background: black
    EXPECT_EQ(picture(mask.bitmap, 1), (Grid{"...."}));
    SetBkColor(mask.dc, RGB(0, 0, 0));
    LineTo(mask.dc, 4, 0); // against a black background: white
    EXPECT_EQ(picture(mask.bitmap, 1), (Grid{"..##"}));
    EXPECT_FALSE(DeleteObject(red)); // still selected
    SelectObject(mask.dc, old);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(GetPixel(mask.dc, 3, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(mask.dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(mask.dc, 1, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
}

TEST(FloodFill, FourConnectedAreasByBorderAndSurface) {
    const Grid diamond = {"....#....", "...#.#...", "..#...#..", ".#.....#.", "#.......#",
                          ".#.....#.", "..#...#..", "...#.#...", "....#...."};
    for (const int depth : {1, 32}) {
        SCOPED_TRACE(depth);
        Selected target(section(9, 9, depth, nullptr));
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x)
                if (diamond[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#')
                    SetPixel(target.dc, x, y, RGB(255, 255, 255));
        SelectObject(target.dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EXPECT_FALSE(ExtFloodFill(target.dc, 4, 0, RGB(255, 255, 255), FLOODFILLBORDER)); // on the border
        EXPECT_FALSE(ExtFloodFill(target.dc, 9, 4, RGB(255, 255, 255), FLOODFILLBORDER)); // outside
        // The diagonal border holds a 4-connected fill: the inside fills, the corners stay.
        ASSERT_TRUE(ExtFloodFill(target.dc, 4, 4, RGB(255, 255, 255), FLOODFILLBORDER));
        EXPECT_EQ(picture(target.bitmap, whiteValue(depth)),
                  (Grid{"....#....", "...###...", "..#####..", ".#######.", "#########", ".#######.", "..#####..",
                        "...###...", "....#...."}));
        // The black corner area, by its own colour.
        ASSERT_TRUE(ExtFloodFill(target.dc, 0, 0, RGB(0, 0, 0), FLOODFILLSURFACE));
        EXPECT_EQ(picture(target.bitmap, whiteValue(depth))[0], "#####....");
    }
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndReportsOverflow) {
    const int table[][4] = {{10, 3, 4, 8}, {-10, 3, 4, -8}, {10, -3, -4, 8},        {7, 1, 3, 2},   {8, 1, 3, 3},
                            {0, -5, 3, 0}, {5, 7, 0, -1},   {0x40000000, 4, 1, -1}, {8, 96, 72, 11}};
    for (const auto& row : table)
        EXPECT_EQ(MulDiv(row[0], row[1], row[2]), row[3]) << row[0] << " " << row[1] << " " << row[2];
}
