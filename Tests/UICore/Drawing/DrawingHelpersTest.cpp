#include "Drawing/GOffscreenDC.h"
#include "Drawing/GProportionalStretch.h"
#include "Drawing/GTextBoundingBox.h"
#include "gdi/GdiObjects.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GProportionalStretch, FitsKeepingProportions) {
    const auto fit = [](SIZE size, SIZE box) {
        GProportionalStretch(size, box);
        return std::pair(size.cx, size.cy);
    };
    EXPECT_EQ(fit({200, 100}, {60, 60}), std::pair(60, 30));
    EXPECT_EQ(fit({100, 200}, {60, 60}), std::pair(30, 60));
    EXPECT_EQ(fit({10, 5}, {100, 100}), std::pair(100, 50)); // enlarged too
    EXPECT_EQ(fit({3, 2}, {100, 50}), std::pair(75, 50));
    EXPECT_EQ(fit({1, 3}, {10, 10}), std::pair(3, 10)); // 3.33 rounds to 3
    EXPECT_EQ(fit({0, 3}, {10, 10}), std::pair(0, 0));
    EXPECT_EQ(fit({4, 3}, {10, 0}), std::pair(0, 0));
}

TEST(GOffscreenDC, ResizesAndGivesAwayItsBitmap) {
    GOffscreenDC offscreen(30, 20);
    ASSERT_NE(offscreen.bitmap(), nullptr);
    EXPECT_EQ(offscreen.bitmap()->width, 30);
    EXPECT_EQ(offscreen.bitmap()->bitCount, 32);
    SetPixel(offscreen.dc(), 3, 4, RGB(10, 20, 30));
    HBITMAP kept = offscreen.bitmap();
    offscreen.resize(30, 20); // same size: same bitmap, drawing kept
    EXPECT_EQ(offscreen.bitmap(), kept);
    EXPECT_EQ(GetPixel(offscreen.dc(), 3, 4), RGB(10, 20, 30));
    offscreen.resize(40, 10);
    EXPECT_EQ(offscreen.height(), 10);
    EXPECT_EQ(GetPixel(offscreen.dc(), 3, 4), RGB(0, 0, 0));
    HBITMAP detached = offscreen.detach();
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(offscreen.bitmap(), nullptr);
    EXPECT_TRUE(DeleteObject(detached)); // no longer selected anywhere
}

TEST(GTextBoundingBox, MeasuresInTheGivenFontAndRestoresTheContextsFont) {
    GOffscreenDC offscreen(10, 10);
    LOGFONTA description{};
    description.lfHeight = -20;
    std::strcpy(description.lfFaceName, "Arial");
    HFONT large = CreateFontIndirectA(&description);
    const SIZE own = GTextBoundingBox(offscreen.dc(), nullptr, "Text & more", DT_NOPREFIX);
    const SIZE measured = GTextBoundingBox(offscreen.dc(), large, "Text & more", DT_NOPREFIX);
    EXPECT_GT(measured.cx, 0);
    EXPECT_NE(measured.cy, own.cy);
    EXPECT_EQ(GTextBoundingBox(offscreen.dc(), nullptr, "Text & more", DT_NOPREFIX).cx, own.cx); // restored
    EXPECT_TRUE(DeleteObject(large));
}
