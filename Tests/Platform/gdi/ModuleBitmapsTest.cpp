#include "gdi/ModuleBitmaps.h"
#include "Platform/gdi/GdiTesting.h"
#include "win/Modules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<DWORD> pixelsOf(HBITMAP bitmap) {
    std::vector<DWORD> pixels;
    for (int y = 0; y < bitmap->height; ++y)
        for (int x = 0; x < bitmap->width; ++x)
            pixels.push_back(bitmap->rawAt(x, y));
    return pixels;
}

} // namespace

TEST(ModuleImages, BitmapsAndCursorsByNumberAndName) {
    HMODULE module = LoadLibraryA(TEST_IMAGES_MODULE);
    ASSERT_NE(module, nullptr) << LastModuleError();

    HBITMAP numbered = LoadBitmapA(module, MAKEINTRESOURCEA(130));
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(numbered->bitCount, 32);
    EXPECT_EQ(pixelsOf(numbered), (std::vector<DWORD>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00FFFFFF}));
    DeleteObject(numbered);

    HBITMAP named = LoadBitmapA(module, "arrow"); // names compare without regard to case
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(pixelsOf(named), (std::vector<DWORD>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
    DeleteObject(named);

    auto* stretched = static_cast<HBITMAP>(LoadImageA(module, "ARROW", IMAGE_BITMAP, 6, 2, LR_CREATEDIBSECTION));
    ASSERT_NE(stretched, nullptr);
    EXPECT_EQ(pixelsOf(stretched)[1], 0xFFFF0000u);
    EXPECT_EQ(pixelsOf(stretched)[11], 0xFF0000FFu);
    DeleteObject(stretched);

    HCURSOR cursor = LoadCursorA(module, "Move");
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->hotSpot.x, 1);
    EXPECT_EQ(cursor->hotSpot.y, 2);
    EXPECT_EQ(cursor->image->width, 4);
    EXPECT_TRUE(DestroyCursor(cursor));

    // What a module does not have, and what another module does not have, is null.
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(131)), nullptr);
    EXPECT_EQ(LoadBitmapA(module, "Move"), nullptr); // a cursor, not a bitmap
    EXPECT_EQ(LoadCursorA(module, MAKEINTRESOURCEA(130)), nullptr);
    static const int here = 0;
    EXPECT_EQ(LoadBitmapA(ModuleFromAddress(&here), MAKEINTRESOURCEA(130)), nullptr);
    ASSERT_TRUE(FreeLibrary(module));
}
