#include "Imaging/GIPLImage.h"
#include "Imaging/GDIBImage.h"
#include "Imaging/GIPL_ConvKernel.h"
#include "Imaging/GIPL_ROI.h"

#include <gtest/gtest.h>

namespace {

// A 32-bit image whose pixel (x, y) is 0xFF000000 + 100 * y + x.
GDIBImage numbered(int width, int height) {
    GDIBImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.set_pixel(x, y, 0xFF000000u + static_cast<DWORD>(100 * y + x));
    return image;
}

} // namespace

TEST(GIPLImage, ModelsAndHeaders) {
    GIPLImage image;
    EXPECT_TRUE(image.is_empty());
    EXPECT_EQ(image.get_width(), 0);
    image.allocate_image(10, 4, GIPLImage::ColourAlpha, 0);
    ASSERT_FALSE(image.is_empty());
    EXPECT_EQ(image.get_color_model(), GIPLImage::ColourAlpha);
    EXPECT_EQ(image.get_image()->align, IPL_ALIGN_QWORD);
    EXPECT_EQ(std::string(image.get_image()->channelSeq, 4), "BGRA");
    image.allocate_image(3, 3, GIPLImage::Bitmap, 8); // the depth of a bitmap is always 1
    EXPECT_EQ(image.get_image()->depth, IPL_DEPTH_1U);
    EXPECT_EQ(image.get_color_model(), GIPLImage::Bitmap);
    image.allocate_image(3, 3, GIPLImage::Grey, 0);
    EXPECT_EQ(image.get_color_model(), GIPLImage::Grey);

    GIPLImage view;
    view.attach_pixels(image.get_image());
    EXPECT_EQ(view.get_image()->imageData, image.get_image()->imageData);
    view.free_image(); // the pixels stay with their owner
    EXPECT_NE(image.get_image()->imageData, nullptr);
}

TEST(GIPLImage, AssignmentReallocatesWhenTheModelDiffers) {
    GDIBImage colour = numbered(10, 10);
    GDIBSection grey;
    grey.allocate_image(10, 10, GIPLImage::Grey, 0);
    grey = colour;
    EXPECT_EQ(grey.get_color_model(), GIPLImage::ColourAlpha);
    EXPECT_NE(grey.get_section(), nullptr);
    GDIBImage copy(colour);
    EXPECT_EQ(copy.get_pixel(9, 9), colour.get_pixel(9, 9));
    EXPECT_NE(copy.get_line_address(0), colour.get_line_address(0));
    GDIBImage emptied(colour);
    emptied = GDIBImage();
    EXPECT_TRUE(emptied.is_empty());
}

TEST(GIPL_ROI, GuardsPutEverythingBack) {
    GDIBImage image(8, 8);
    GDIBSection mask;
    mask.allocate_image(8, 8, GIPLImage::Bitmap, 0);
    IplImage* header = image.get_image();
    header->maskROI = mask.get_image();
    header->alphaChannel = 2;
    {
        GIPL_ROI guard(header, RECT{-5, 2, 4, 20});
        RECT r;
        guard.get(r);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.bottom, 8);
        EXPECT_EQ(header->roi->yOffset, 2);
        EXPECT_EQ(mask.get_image()->roi->height, 6); // the handled mask follows the rectangle
        guard.set(RGBA_Alpha);
        EXPECT_EQ(header->roi->coi, 4);
        RGBAComponent component = RGBA_Blue;
        EXPECT_TRUE(guard.get(component));
        EXPECT_EQ(component, RGBA_Alpha);
        guard.setAlphaChannel();
        EXPECT_EQ(header->alphaChannel, 4);
        guard.resetMask();
        EXPECT_EQ(header->maskROI, nullptr);
        guard.set(RECT{3, 3, 3, 9});
        EXPECT_TRUE(guard.isRectEmpty());
    }
    EXPECT_EQ(header->roi, nullptr);
    EXPECT_EQ(header->maskROI, mask.get_image());
    EXPECT_EQ(header->alphaChannel, 2);
    header->maskROI = nullptr;

    {
        GIPL_ROIAndBorder border(header);
        border.setBorderMode(IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 5);
        EXPECT_EQ(header->BorderConst[IPL_SIDE_RIGHT_INDEX], 5);
    }
    EXPECT_EQ(header->BorderMode[IPL_SIDE_RIGHT_INDEX], IPL_BORDER_CONSTANT);
    EXPECT_EQ(header->BorderConst[IPL_SIDE_RIGHT_INDEX], 0);
}

TEST(GIPLImage, PutImageClipsAndAligns) {
    GDIBImage target(100, 100);
    target.full_fill(0);
    const GDIBImage source = numbered(20, 20);
    GIPLImage::PutImage(nullptr, target.get_image(), nullptr, POINT{-10, -10}, source.get_image(), nullptr,
                        GIPLCompositionMode());
    EXPECT_EQ(target.get_pixel(0, 0), source.get_pixel(10, 10));
    EXPECT_EQ(target.get_pixel(9, 9), source.get_pixel(19, 19));
    EXPECT_EQ(target.get_pixel(10, 0), 0u);
    EXPECT_EQ(target.get_pixel(0, 10), 0u);
    EXPECT_EQ(target.get_image()->roi, nullptr);

    const RECT clip{50, 50, 60, 60};
    GIPLImage::PutImage(&clip, target.get_image(), nullptr, POINT{0, 0}, source.get_image(), nullptr,
                        GIPLCompositionMode());
    EXPECT_EQ(target.get_pixel(15, 15), 0u); // the clip misses the placed source: nothing changes
}

TEST(GIPLImage, PutImageComposesThroughMasks) {
    GDIBImage target(2, 1);
    target.full_fill(0xFF646464); // opaque grey 100
    GDIBImage sprite(2, 1);
    sprite.full_fill(0x80C8C8C8); // grey 200 at alpha 128
    GDIBSection mask;
    mask.allocate_image(2, 1, GIPLImage::Bitmap, 0);
    iplSet(mask.get_image(), 0);
    iplPutPixel(mask.get_image(), 1, 0, std::array<unsigned char, 1>{1}.data());
    GIPLCompositionMode over(0);
    GIPLImage::PutImage(nullptr, target.get_image(), nullptr, POINT{0, 0}, sprite.get_image(), mask.get_image(), over);
    EXPECT_EQ(target.get_pixel(0, 0), 0xFF646464u);
    EXPECT_EQ(target.get_pixel(1, 0), 0xFF969696u); // 150: 0.502 * 200 + 0.498 * 100
    EXPECT_EQ(target.get_image()->alphaChannel, 0);
    EXPECT_EQ(sprite.get_image()->maskROI, nullptr);
}

TEST(GIPL_ConvKernel, CopiesOwnTheirValues) {
    const int values[] = {1, 2, 3, 4, 5, 6};
    GIPL_ConvKernel kernel(3, 2, 1, 0, values, 2);
    EXPECT_EQ(kernel.get(1, 2), 6);
    GIPL_ConvKernel copy(kernel);
    copy.set(0, 0, 9);
    EXPECT_EQ(kernel.get(0, 0), 1);
    EXPECT_EQ(copy.shift(), 2);
    kernel = copy;
    EXPECT_EQ(kernel.get(0, 0), 9);
}
