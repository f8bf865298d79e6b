#include "IplTestImage.h"

#include <gtest/gtest.h>

TEST(IplArithmetic, ConstantsSaturate) {
    TestImage image(4, 1);
    image.fill({0, 5, 250, 100});
    iplAddS(image, image, 10);
    EXPECT_EQ(image.row(0), (std::vector<int>{10, 15, 255, 110}));
    iplSubtractS(image, image, 12, false);
    EXPECT_EQ(image.row(0), (std::vector<int>{0, 3, 243, 98}));
    iplSubtractS(image, image, 100, true);
    EXPECT_EQ(image.row(0), (std::vector<int>{100, 97, 0, 2}));
    iplMultiplyS(image, image, 3);
    EXPECT_EQ(image.row(0), (std::vector<int>{255, 255, 0, 6}));

    TestImage words(2, 1, 1, IPL_DEPTH_16U);
    words.fill({1000, 60000});
    iplAddS(words, words, 10000);
    EXPECT_EQ(words.row(0), (std::vector<int>{11000, 65535}));
}

TEST(IplArithmetic, ScaledMultiplyRoundsAndClampsTheFactor) {
    TestImage image(4, 1);
    image.fill({1, 255, 3, 200});
    iplMultiplySScale(image, image, 128);
    EXPECT_EQ(image.row(0), (std::vector<int>{1, 128, 2, 100})); // 0.502 rounds up; 3 * 128 / 255 = 1.506
    image.fill({1, 255, 3, 200});
    iplMultiplySScale(image, image, 1000); // clamped to 255: a factor of 1
    EXPECT_EQ(image.row(0), (std::vector<int>{1, 255, 3, 200}));
}

TEST(IplArithmetic, AddImagesAndBitwise) {
    TestImage a(3, 1), b(3, 1), sum(3, 1);
    a.fill({100, 200, 0x0F});
    b.fill({100, 100, 0x3C});
    iplAdd(a, b, sum);
    EXPECT_EQ(sum.row(0), (std::vector<int>{200, 255, 0x4B}));
    iplAnd(a, b, sum);
    EXPECT_EQ(sum.get(2, 0), 0x0C);
    iplXor(a, b, sum);
    EXPECT_EQ(sum.get(2, 0), 0x33);
    iplXorS(a, a, 0x101); // only the low 8 bits count
    EXPECT_EQ(a.get(2, 0), 0x0E);
}

TEST(IplArithmetic, BitMasks) {
    TestImage mask(12, 1, 1, IPL_DEPTH_1U), other(12, 1, 1, IPL_DEPTH_1U);
    mask.fill({1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0});
    other.fill({1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0});
    iplAnd(mask, other, mask);
    EXPECT_EQ(mask.row(0), (std::vector<int>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
    iplXor(mask, other, mask);
    EXPECT_EQ(mask.row(0), (std::vector<int>{0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0}));
    {
        TestROI part(mask, 2, 0, 3, 1);
        iplXorS(mask, mask, 1);
    }
    EXPECT_EQ(mask.row(0), (std::vector<int>{0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1, 0}));
}
