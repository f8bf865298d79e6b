#include "IplTestImage.h"

#include <gtest/gtest.h>

#include <climits>

TEST(IplHeader, RowStepsAndAllocation) {
    struct Row {
        int width, channels, depth, align, step;
    };
    for (const Row& r : {Row{10, 4, IPL_DEPTH_8U, 4, 40}, Row{3, 3, IPL_DEPTH_8U, 4, 12},
                         Row{3, 3, IPL_DEPTH_8U, 8, 16}, Row{10, 1, IPL_DEPTH_1U, 4, 4}, Row{10, 1, IPL_DEPTH_1U, 8, 8},
                         Row{64, 1, IPL_DEPTH_1U, 8, 8}, Row{5, 3, IPL_DEPTH_16U, 4, 32}}) {
        IplImage* image = iplCreateImageHeader(r.channels, 0, r.depth, "RGB", "BGR", IPL_DATA_ORDER_PIXEL,
                                               IPL_ORIGIN_TL, r.align, r.width, 2, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->widthStep, r.step) << r.width << " " << r.depth;
        EXPECT_EQ(image->imageSize, 2 * r.step);
        EXPECT_EQ(image->imageData, nullptr);
        iplAllocateImage(image, 1, 7);
        ASSERT_NE(image->imageData, nullptr);
        iplDeallocate(image, IPL_IMAGE_HEADER | IPL_IMAGE_DATA);
    }
    EXPECT_EQ(iplCreateImageHeader(0, 0, 8, "", "", 0, 0, 4, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    // Rows whose size passes 64 bits are refused like any other that is too large.
    EXPECT_EQ(iplCreateImageHeader(INT_MAX, 0, IPL_DEPTH_32F, "", "", 0, 0, 4, INT_MAX, 1, nullptr, nullptr, nullptr,
                                   nullptr),
              nullptr);
}

TEST(IplHeader, FillBordersAndPixels) {
    TestImage image(3, 2, 3);
    iplDeallocate(image, IPL_IMAGE_DATA);
    iplAllocateImage(image, 1, 300); // the fill saturates
    EXPECT_EQ(image.get(2, 1, 2), 255);
    iplSetBorderMode(image, IPL_BORDER_REPLICATE, IPL_SIDE_LEFT | IPL_SIDE_TOP, 9);
    EXPECT_EQ(image->BorderMode[IPL_SIDE_LEFT_INDEX], IPL_BORDER_REPLICATE);
    EXPECT_EQ(image->BorderConst[IPL_SIDE_TOP_INDEX], 9);
    EXPECT_EQ(image->BorderMode[IPL_SIDE_RIGHT_INDEX], IPL_BORDER_CONSTANT);
    std::uint8_t pixel[3] = {1, 2, 3};
    iplPutPixel(image, 1, 1, pixel);
    iplPutPixel(image, 5, 1, pixel); // outside: nothing
    EXPECT_EQ(image.get(1, 1, 0), 1);
    EXPECT_EQ(image.get(1, 1, 2), 3);

    TestImage bits(10, 1, 1, IPL_DEPTH_1U);
    std::uint8_t one = 1;
    iplPutPixel(bits, 9, 0, &one);
    EXPECT_EQ(bits->imageData[1], static_cast<char>(0x40)); // bit 9: the second byte, second bit from the top
}

TEST(IplCopy, RegionsAlignAtTheirCorners) {
    TestImage source(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            source.set(x, y, 0, x + 20 * y % 200);
    TestImage target(100, 100);
    iplSet(target, 7);
    {
        TestROI from(source, 10, 10, 10, 10);
        TestROI to(target, 0, 0, 10, 10);
        iplCopy(source, target);
    }
    EXPECT_EQ(target.get(0, 0), source.get(10, 10));
    EXPECT_EQ(target.get(9, 9), source.get(19, 19));
    EXPECT_EQ(target.get(10, 0), 7);
    EXPECT_EQ(target.get(0, 10), 7);
}

TEST(IplCopy, MasksOnEitherSide) {
    TestImage source(4, 4), target(4, 4), mask(4, 4, 1, IPL_DEPTH_1U);
    iplSet(source, 9);
    mask.set(1, 1, 0, 1);
    source->maskROI = mask;
    iplCopy(source, target);
    source->maskROI = nullptr;
    EXPECT_EQ(target.get(1, 1), 9);
    EXPECT_EQ(target.get(0, 0), 0);
    EXPECT_EQ(target.get(2, 1), 0);

    // A destination mask offset by its own region of interest.
    TestImage other(4, 4);
    TestImage wideMask(8, 1, 1, IPL_DEPTH_1U);
    wideMask.set(5, 0, 0, 1);
    IplROI maskRegion{0, 4, 0, 4, 1};
    wideMask->roi = &maskRegion;
    other->maskROI = wideMask;
    iplCopy(source, other);
    other->maskROI = nullptr;
    wideMask->roi = nullptr;
    EXPECT_EQ(other.row(0), (std::vector<int>{0, 9, 0, 0}));
}

// Wide rows take mask bytes whole; a mask whose region starts inside a byte starts and ends with single bits.
TEST(IplCopy, WideMasksAtEveryBitOffset) {
    for (int offset = 0; offset < 8; ++offset) {
        TestImage source(30, 3), target(30, 3), mask(40, 3, 1, IPL_DEPTH_1U);
        iplSet(source, 9);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 40; ++x)
                mask.set(x, y, 0, (x * 7 + y * 3 + x / 5) % 3 == 0 ? 1 : 0);
        IplROI maskRegion{0, offset, 0, 30, 3};
        mask->roi = &maskRegion;
        target->maskROI = mask;
        iplCopy(source, target);
        target->maskROI = nullptr;
        mask->roi = nullptr;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(target.get(x, y), mask.get(offset + x, y) != 0 ? 9 : 0) << offset << ": " << x << "," << y;
    }
}

TEST(IplCopy, ChannelsOfInterestAndAlpha) {
    TestImage grey(2, 1), colour(2, 1, 4);
    grey.fill({10, 20});
    iplSet(colour, 1);
    {
        TestROI alpha(colour, 0, 0, 2, 1, 4);
        iplCopy(grey, colour); // a grey image into the alpha channel
    }
    EXPECT_EQ(colour.get(1, 0, 3), 20);
    EXPECT_EQ(colour.get(1, 0, 2), 1);

    // With the alpha channel declared and no channel of interest, alpha is left alone.
    TestImage other(2, 1, 4);
    iplSet(other, 5);
    colour->alphaChannel = 4;
    other->alphaChannel = 4;
    iplCopy(colour, other);
    EXPECT_EQ(other.get(0, 0, 0), 1);
    EXPECT_EQ(other.get(0, 0, 3), 5);
    // Without it, all four move.
    colour->alphaChannel = 0;
    other->alphaChannel = 0;
    iplCopy(colour, other);
    EXPECT_EQ(other.get(0, 0, 3), 10);
}

TEST(IplCopy, BitsAtAnyOffsetAndOverlappingPlaces) {
    TestImage bits(20, 1, 1, IPL_DEPTH_1U);
    for (int x : {0, 1, 3})
        bits.set(x, 0, 0, 1);
    TestImage target(20, 1, 1, IPL_DEPTH_1U);
    {
        TestROI to(target, 7, 0, 4, 1);
        iplCopy(bits, target);
    }
    EXPECT_EQ(target.row(0), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    // Within one image, to a place that overlaps the source: the result of an out-of-place copy.
    TestImage line(6, 1);
    line.fill({1, 2, 3, 4, 5, 6});
    IplImage view = *static_cast<IplImage*>(line);
    IplROI from{0, 0, 0, 4, 1};
    IplROI to{0, 2, 0, 4, 1};
    view.roi = &from;
    line->roi = &to;
    iplCopy(&view, line);
    line->roi = nullptr;
    EXPECT_EQ(line.row(0), (std::vector<int>{1, 2, 1, 2, 3, 4}));
}

// Bit runs of every length at every pair of source and target offsets: the bits inside the target region are
// the source's, those outside keep the target's own.
TEST(IplCopy, BitRunsAtEveryAlignment) {
    constexpr int Width = 48;
    TestImage source(Width, 1, 1, IPL_DEPTH_1U);
    TestImage before(Width, 1, 1, IPL_DEPTH_1U);
    for (int x = 0; x < Width; ++x) {
        source.set(x, 0, 0, (x * 7 + x / 5) % 3 == 0);
        before.set(x, 0, 0, x % 2);
    }
    for (int from = 0; from < 16; ++from)
        for (int to = 0; to < 16; ++to)
            for (int count = 1; count <= Width - 16; count += 3) {
                TestImage target(Width, 1, 1, IPL_DEPTH_1U);
                iplCopy(before, target);
                {
                    TestROI read(source, from, 0, count, 1);
                    TestROI written(target, to, 0, count, 1);
                    iplCopy(source, target);
                }
                for (int x = 0; x < Width; ++x) {
                    const bool inside = x >= to && x < to + count;
                    ASSERT_EQ(target.get(x, 0), inside ? source.get(x - to + from, 0) : before.get(x, 0))
                        << from << " " << to << " " << count << " " << x;
                }
            }
}

// Bit fills of every length at every offset set exactly the region's bits, to either value.
TEST(IplSetAndConvert, BitRunsAtEveryAlignment) {
    constexpr int Width = 40;
    for (int value : {0, 1})
        for (int from = 0; from < 16; ++from)
            for (int count = 1; from + count <= Width; ++count) {
                TestImage bits(Width, 2, 1, IPL_DEPTH_1U);
                iplSet(bits, 1 - value);
                {
                    TestROI part(bits, from, 1, count, 1);
                    iplSet(bits, value);
                }
                for (int y = 0; y < 2; ++y)
                    for (int x = 0; x < Width; ++x) {
                        const bool inside = y == 1 && x >= from && x < from + count;
                        ASSERT_EQ(bits.get(x, y), inside ? value : 1 - value) << from << " " << count << " " << x;
                    }
            }
}

TEST(IplSetAndConvert, DepthsAndRegions) {
    TestImage wide(3, 1, 1, IPL_DEPTH_32S);
    iplSet(wide, static_cast<int>(0xFF102030));
    EXPECT_EQ(static_cast<unsigned>(wide.get(2, 0)), 0xFF102030u);

    TestImage image(4, 1);
    {
        TestROI part(image, 1, 0, 2, 1);
        iplSet(image, -5); // saturates to 0
        iplSet(image, 77);
    }
    EXPECT_EQ(image.row(0), (std::vector<int>{0, 77, 77, 0}));

    TestImage words(4, 1, 1, IPL_DEPTH_16U);
    words.fill({0, 300, 65535, 77});
    TestImage bytes(4, 1);
    TestROI ignored(bytes, 2, 0, 1, 1); // the conversion ignores regions
    iplConvert(words, bytes);
    EXPECT_EQ(bytes.row(0), (std::vector<int>{0, 255, 255, 77}));
    iplConvert(bytes, words);
    EXPECT_EQ(words.row(0), (std::vector<int>{0, 255, 255, 77}));
}
