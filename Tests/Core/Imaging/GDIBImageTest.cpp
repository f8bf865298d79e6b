#include "Imaging/GDIBImage.h"
#include "Errors/GLibraryExceptions.h"
#include "Imaging/GBitmapDC.h"
#include "Imaging/GIPL_ROI.h"
#include "Imaging/HSVConversion.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"
#include "gdi/GdiObjects.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

TEST(GDIBImage, ResizeAndRows) {
    GDIBImage image(4, 2);
    image.set_pixel(1, 1, 0x11223344);
    image.resize(4, 2); // the same size keeps the pixels
    EXPECT_EQ(image.get_pixel(1, 1), 0x11223344u);
    EXPECT_TRUE(image.contains(3, 1));
    EXPECT_FALSE(image.contains(4, 1));
    EXPECT_EQ(image.get_line_address(1) - image.get_line_address(0), 4);

    for (int x = 0; x < 4; ++x)
        image.set_pixel(x, 0, static_cast<DWORD>(x + 1));
    std::vector<DWORD> buffer(10, 0);
    image.get_hline(buffer.data(), -3, 0, 10);
    EXPECT_EQ(buffer, (std::vector<DWORD>{0, 0, 0, 1, 2, 3, 4, 0, 0, 0}));
    const DWORD line[3] = {7, 8, 9};
    image.put_hline(line, 2, 1, 3);
    EXPECT_EQ(image.get_pixel(3, 1), 8u);
    image.put_hline(line, 0, 5, 3); // a row outside: ignored
    image.resize(0, 3);
    EXPECT_TRUE(image.is_empty());
    EXPECT_EQ(image.get_width(), 0);
}

TEST(GDIBImage, Fills) {
    GDIBImage image(4, 4);
    image.full_fill(1);
    image.fill_rect(RECT{5, 5, 9, 9}, 2); // outside: nothing
    image.fill_rect(RECT{-1, 2, 2, 10}, 3);
    EXPECT_EQ(image.get_pixel(1, 3), 3u);
    EXPECT_EQ(image.get_pixel(2, 3), 1u);
    EXPECT_EQ(image.get_pixel(0, 1), 1u);
    {
        GIPL_ROI region(image.get_image(), RECT{3, 0, 4, 1});
        image.fill_ROI(0xAABBCCDD);
    }
    EXPECT_EQ(image.get_pixel(3, 0), 0xAABBCCDDu);
    EXPECT_EQ(image.get_pixel(2, 0), 1u);
    EXPECT_EQ(image.get_image()->nChannels, 4); // the 32-bit view is gone
}

TEST(GDIBImage, MapsAndDrawing) {
    GDIBImage source(2, 2);
    source.full_fill(0xFF0000FF);
    source.set_pixel(1, 1, 0xFFFF0000);
    GDIBImage target(4, 4);
    target.full_fill(0);
    target.put_map(2, 1, source, RECT{1, 1, 2, 2});
    EXPECT_EQ(target.get_pixel(2, 1), 0xFFFF0000u);
    EXPECT_EQ(target.get_pixel(3, 1), 0u);

    GDIBImage big(4, 4);
    big.stretch_map(source);
    EXPECT_EQ(big.get_pixel(0, 0), 0xFF0000FFu);

    GDIBImage canvas(6, 6);
    canvas.full_fill(0);
    GBitmapDC dc(canvas.get_section());
    source.draw(dc, 4, 4);
    EXPECT_EQ(canvas.get_pixel(5, 5), 0xFFFF0000u);
    source.stretch(dc, RECT{0, 0, 4, 4});
    EXPECT_EQ(canvas.get_pixel(3, 3), 0xFFFF0000u);
    EXPECT_EQ(canvas.get_pixel(1, 1), 0xFF0000FFu);
}

// Spans and maps are clipped to both images from any position: what lands inside is exactly what is copied.
TEST(GDIBImage, ClippingTakesAnyPosition) {
    GDIBImage source(8, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            source.set_pixel(x, y, static_cast<DWORD>(10 * y + x));
    GDIBImage target(4, 4);
    target.full_fill(0xFFFFFFFF);
    target.put_map(-5, -1, source);
    EXPECT_EQ(target.get_pixel(0, 0), 15u); // source column 5 of row 1
    EXPECT_EQ(target.get_pixel(2, 1), 27u);
    EXPECT_EQ(target.get_pixel(3, 0), 0xFFFFFFFFu);   // beyond the source's last column
    EXPECT_EQ(target.get_pixel(0, 2), 0xFFFFFFFFu);   // beyond its last row
    target.put_map(1, 1, source, RECT{-2, -1, 1, 1}); // a rectangle reaching outside the source
    EXPECT_EQ(target.get_pixel(3, 2), 0u);
    EXPECT_EQ(target.get_pixel(2, 2), 0xFFFFFFFFu); // source column -1 does not exist

    std::vector<DWORD> buffer(4, 0xAA);
    for (const auto& [x, count] : {std::pair{INT_MIN, 5}, std::pair{INT_MIN, INT_MAX}, std::pair{-1, INT_MIN},
                                   std::pair{INT_MAX, INT_MAX}, std::pair{2, INT_MIN + 1}}) {
        target.get_hline(buffer.data(), x, 0, count);
        target.put_hline(buffer.data(), x, 0, count);
    }
    EXPECT_EQ(buffer, std::vector<DWORD>(4, 0xAA));
    source.get_hline(buffer.data(), -2, 2, 4);
    EXPECT_EQ(buffer, (std::vector<DWORD>{0xAA, 0xAA, 20, 21}));
}

TEST(GDIBImage, StreamsItsRows) {
    GDIBImage image(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.set_pixel(x, y, 0x01020304u * static_cast<DWORD>(x + 3 * y + 1));
    mpstream stream;
    stream.writePointer(&image);
    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<GDIBImage> read(stream.readPointer<GDIBImage>());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->get_width(), 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(read->get_pixel(x, y), image.get_pixel(x, y));

    // Version 0 is an inline BMP file; no reader for it is registered yet.
    mpstream old;
    old.writeByte(0);
    old.seekg(0, GIO::FromBegin);
    GDIBImage target;
    EXPECT_NE(catchException<InvalidFileFormat_Exception>([&] { target.read(old); }), nullptr);
}

TEST(HSVConversion, IntegerArithmetic) {
    EXPECT_EQ(RGBA2HSVA(0x80FF0000), 0x8000FFFFu);
    EXPECT_EQ(RGBA2HSVA(0xFF00FF00), 0xFF55FFFFu);
    EXPECT_EQ(RGBA2HSVA(0x12404040), 0x12000040u);
    EXPECT_EQ(HSVA2RGBA(0x8000FFFF), 0x80FF0000u);
    EXPECT_EQ(HSVA2RGBA(0xFF000080), 0xFF808080u);
    for (DWORD colour : {0xFF0000FFu, 0xFFFFFF00u, 0xFF00FFFFu}) {
        const DWORD back = HSVA2RGBA(RGBA2HSVA(colour));
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>((back >> shift) & 0xFF), static_cast<int>((colour >> shift) & 0xFF), 6)
                << std::hex << colour;
    }
}
