#include "IplTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

TEST(IplBlur, BoxMeanWithTheDefaultBorder) {
    TestImage image(5, 3);
    image.fill({0, 0, 90, 0, 0, 0, 0, 90, 0, 0, 0, 0, 90, 0, 0});
    iplBlur(image, image, 3, 3, 1, 1);
    EXPECT_EQ(image.row(1), (std::vector<int>{0, 30, 30, 30, 0}));
    EXPECT_EQ(image.row(0), (std::vector<int>{0, 20, 20, 20, 0})); // constant 0 beyond the top

    TestImage uniform(4, 4);
    iplSet(uniform, 90);
    TestImage out(4, 4);
    iplBlur(uniform, out, 3, 3, 1, 1);
    EXPECT_EQ(out.get(1, 1), 90);
    EXPECT_EQ(out.get(1, 0), 60);
    EXPECT_EQ(out.get(0, 0), 40);

    iplSetBorderMode(uniform, IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 0);
    iplBlur(uniform, out, 3, 3, 1, 1);
    EXPECT_EQ(out.get(0, 0), 90);

    TestImage rounding(3, 3);
    rounding.fill({0, 0, 0, 0, 5, 0, 0, 0, 0});
    iplBlur(rounding, out, 3, 3, 1, 1);
    EXPECT_EQ(out.get(1, 1), 1); // 5 / 9 rounds up
}

TEST(IplBlur, LargeKernelsChannelsAndBorders) {
    // A 15 x 15 blur against a direct sum, on one channel of a colour image with wrap-around borders.
    TestImage image(20, 17, 3), out(20, 17, 3);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 20; ++x)
            image.set(x, y, 1, (x * 37 + y * 11) % 256);
    iplSetBorderMode(image, IPL_BORDER_WRAP, IPL_SIDE_ALL, 0);
    {
        TestROI green(image, 0, 0, 20, 17, 2);
        TestROI greenOut(out, 0, 0, 20, 17, 2);
        iplBlur(image, out, 15, 15, 7, 7);
    }
    for (int y : {0, 8, 16})
        for (int x : {0, 3, 19}) {
            int sum = 0;
            for (int v = -7; v <= 7; ++v)
                for (int u = -7; u <= 7; ++u)
                    sum += image.get(((x + u) % 20 + 20) % 20, ((y + v) % 17 + 17) % 17, 1);
            EXPECT_EQ(out.get(x, y, 1), (sum + 112) / 225) << x << "," << y;
        }
    EXPECT_EQ(out.get(5, 5, 0), 0); // other channels untouched
}

TEST(IplFixedFilter, Sharpen) {
    TestImage image(3, 3), out(3, 3);
    iplSetBorderMode(image, IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 0);
    struct Row {
        int centre, around, expected;
    };
    for (const Row& r : {Row{100, 50, 150}, Row{50, 100, 0}, Row{200, 0, 255}, Row{70, 70, 70}}) {
        iplSet(image, r.around);
        image.set(1, 1, 0, r.centre);
        EXPECT_EQ(iplFixedFilter(image, out, IPL_SHARPEN_3x3), IPL_StsOk);
        EXPECT_EQ(out.get(1, 1), r.expected) << r.centre << "/" << r.around;
    }
    EXPECT_EQ(iplFixedFilter(image, out, static_cast<IplFilter>(42)), IPL_StsBadArg);
}

TEST(IplDilate, GrowsByOnePixelPerIteration) {
    TestImage bits(7, 7, 1, IPL_DEPTH_1U);
    bits.set(3, 3, 0, 1);
    iplDilate(bits, bits, 1);
    EXPECT_EQ(bits.row(2), (std::vector<int>{0, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(bits.row(1), (std::vector<int>{0, 0, 0, 0, 0, 0, 0}));
    iplDilate(bits, bits, 1);
    EXPECT_EQ(bits.row(1), (std::vector<int>{0, 1, 1, 1, 1, 1, 0}));

    TestImage grey(5, 5), out(5, 5);
    grey.set(0, 0, 0, 9);
    grey.set(4, 4, 0, 5);
    iplDilate(grey, out, 2);
    EXPECT_EQ(out.row(2), (std::vector<int>{9, 9, 9, 5, 5}));
    EXPECT_EQ(out.get(4, 0), 0);
}

TEST(IplBlur, SignedThirtyTwoBitMeansDoNotOverflow) {
    TestImage image(3, 3, 1, IPL_DEPTH_32S), out(3, 3, 1, IPL_DEPTH_32S);
    iplSetBorderMode(image, IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 0);
    for (int extreme : {INT_MAX, INT_MIN}) {
        iplSet(image, extreme);
        iplBlur(image, out, 3, 3, 1, 1);
        EXPECT_EQ(out.row(0), (std::vector<int>{extreme, extreme, extreme}));
        EXPECT_EQ(out.get(1, 1), extreme);
    }
    image.fill({-7, 0, 0, 0, 0, 0, 0, 0, 0});
    iplBlur(image, out, 3, 3, 1, 1);
    EXPECT_EQ(out.get(1, 1), -1); // -7 / 9 rounds half up to -1
}

TEST(IplDilate, ManyIterationsStopOnceNothingChanges) {
    TestImage bits(9, 9, 1, IPL_DEPTH_1U);
    bits.set(4, 4, 0, 1);
    iplDilate(bits, bits, INT_MAX);
    EXPECT_EQ(bits.row(0), std::vector<int>(9, 1));

    // A mask that lets the value through a winding path only, one pixel per iteration: as many iterations in one
    // call give what as many single calls give, also where the path is longer than the image's sides.
    const int path[] = {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1,
                        1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1};
    TestImage mask(7, 6, 1, IPL_DEPTH_1U);
    for (int k = 0; k < 42; ++k)
        mask.set(k % 7, k / 7, 0, path[k]);
    for (int iterations : {3, 9, 17, 33, INT_MAX}) {
        TestImage once(7, 6), stepwise(7, 6);
        once.set(0, 0, 0, 200);
        stepwise.set(0, 0, 0, 200);
        once->maskROI = stepwise->maskROI = mask;
        iplDilate(once, once, iterations);
        for (int k = 0; k < std::min(iterations, 40); ++k)
            iplDilate(stepwise, stepwise, 1);
        for (int y = 0; y < 6; ++y)
            EXPECT_EQ(once.row(y), stepwise.row(y)) << iterations << " iterations, row " << y;
        once->maskROI = stepwise->maskROI = nullptr;
    }
}
