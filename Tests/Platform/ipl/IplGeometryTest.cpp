#include "IplTestImage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every channel of a four-channel image, varying across, down and between channels.
void fillWithPattern(TestImage& image, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                image.set(x, y, c, (x * 29 + y * 53 + c * 71) % 256);
}

} // namespace

TEST(IplResize, NearestLinearAndSuper) {
    TestImage line(4, 1), half(2, 1), twice(4, 1);
    line.fill({10, 20, 30, 40});
    iplResize(line, half, 1, 2, 1, 1, IPL_INTER_NN);
    EXPECT_EQ(half.row(0), (std::vector<int>{10, 30}));
    TestImage pair(2, 1);
    pair.fill({10, 20});
    iplResize(pair, twice, 2, 1, 1, 1, IPL_INTER_NN);
    EXPECT_EQ(twice.row(0), (std::vector<int>{10, 10, 20, 20})); // exact halves round down
    iplResize(pair, twice, 2, 1, 1, 1, IPL_INTER_LINEAR);
    EXPECT_EQ(twice.row(0), (std::vector<int>{10, 15, 20, 20}));

    TestImage block(2, 2), one(1, 1);
    block.fill({10, 20, 30, 40});
    iplResize(block, one, 1, 2, 1, 2, IPL_INTER_SUPER);
    EXPECT_EQ(one.get(0, 0), 25);
    TestImage third(3, 1), out(2, 1);
    third.fill({0, 30, 90});
    iplResize(third, out, 2, 3, 1, 1, IPL_INTER_SUPER); // 1.5 source pixels each: (0 + 15) / 1.5, (15 + 90) / 1.5
    EXPECT_EQ(out.row(0), (std::vector<int>{10, 70}));
}

TEST(IplResize, TheScaleComesFromTheFractionsNotTheTarget) {
    TestImage source(2, 2, 3), target(10, 10, 3);
    iplSet(source, 50);
    iplResize(source, target, 2, 1, 2, 1, IPL_INTER_NN);
    EXPECT_EQ(target.get(3, 3, 2), 50);
    EXPECT_EQ(target.get(4, 4, 0), 0); // beyond 4 x 4: untouched
}

TEST(IplMirror, AxesAndInPlace) {
    TestImage image(3, 2), out(3, 2);
    image.fill({1, 2, 3, 4, 5, 6});
    iplMirror(image, out, 0);
    EXPECT_EQ(out.row(0), (std::vector<int>{4, 5, 6}));
    iplMirror(image, out, 1);
    EXPECT_EQ(out.row(0), (std::vector<int>{3, 2, 1}));
    iplMirror(image, image, -1);
    EXPECT_EQ(image.row(0), (std::vector<int>{6, 5, 4}));
    EXPECT_EQ(image.row(1), (std::vector<int>{3, 2, 1}));

    TestImage bits(10, 1, 1, IPL_DEPTH_1U);
    bits.set(0, 0, 0, 1);
    iplMirror(bits, bits, 1);
    EXPECT_EQ(bits.get(9, 0), 1); // within the width, not the padded row
    EXPECT_EQ(bits.get(0, 0), 0);
}

TEST(IplAffine, TransformFromAQuadAndItsBound) {
    TestImage image(10, 5);
    double coeffs[2][3];
    const double quad[4][2] = {{0, 0}, {18, 0}, {18, 8}, {0, 8}};
    iplGetAffineTransform(image, coeffs, quad);
    EXPECT_DOUBLE_EQ(coeffs[0][0], 2.0);
    EXPECT_DOUBLE_EQ(coeffs[1][1], 2.0);
    EXPECT_DOUBLE_EQ(coeffs[0][1], 0.0);
    EXPECT_DOUBLE_EQ(coeffs[1][2], 0.0);

    const double identity[2][3] = {{1, 0, 0}, {0, 1, 0}};
    double rect[2][2];
    iplGetAffineBound(image, identity, rect);
    EXPECT_DOUBLE_EQ(rect[0][0], 0);
    EXPECT_DOUBLE_EQ(rect[1][0], 9);
    EXPECT_DOUBLE_EQ(rect[1][1], 4);
}

TEST(IplWarpAffine, ShiftRotateAndSmoothEdges) {
    TestImage source(4, 4), target(8, 8);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.set(x, y, 0, 10 * (y * 4 + x) + 10);
    const double shift[2][3] = {{1, 0, 3}, {0, 1, 2}};
    iplWarpAffine(source, target, shift, IPL_INTER_NN);
    EXPECT_EQ(target.get(3, 2), 10);
    EXPECT_EQ(target.get(6, 5), 160);
    EXPECT_EQ(target.get(2, 2), 0);
    EXPECT_EQ(target.get(7, 5), 0);

    // A quarter turn about the origin, moved back into view: x' = 3 - y, y' = x.
    TestImage turned(4, 4);
    const double rotate[2][3] = {{0, -1, 3}, {1, 0, 0}};
    iplWarpAffine(source, turned, rotate, IPL_INTER_LINEAR);
    EXPECT_EQ(turned.get(3, 0), source.get(0, 0));
    EXPECT_EQ(turned.get(0, 3), source.get(3, 3));

    // A half-pixel shift with smooth edges blends the outline half with what was there.
    TestImage base(6, 1), line(4, 1);
    iplSet(base, 100);
    iplSet(line, 200);
    const double half[2][3] = {{1, 0, 1.5}, {0, 1, 0}};
    iplWarpAffine(line, base, half, IPL_INTER_LINEAR | IPL_SMOOTH_EDGE);
    EXPECT_EQ(base.row(0), (std::vector<int>{100, 150, 200, 200, 200, 150}));
}

// The 8-bit four-channel images take a fast path; each channel on its own takes the general one.
TEST(IplWarpAffine, FastAndGeneralPathsAgree) {
    TestImage source(9, 7, 4);
    fillWithPattern(source, 9, 7);
    const double angle = 0.5;
    const double turn[2][3] = {{std::cos(angle), -std::sin(angle), 4.3}, {std::sin(angle), std::cos(angle), 0.7}};
    for (int mode : {IPL_INTER_NN, IPL_INTER_LINEAR, IPL_INTER_LINEAR | IPL_SMOOTH_EDGE}) {
        TestImage fast(12, 12, 4), general(12, 12, 4);
        iplSet(fast, 40);
        iplSet(general, 40);
        iplWarpAffine(source, fast, turn, mode);
        for (int c = 1; c <= 4; ++c) {
            TestROI from(source, 0, 0, 9, 7, c);
            TestROI to(general, 0, 0, 12, 12, c);
            iplWarpAffine(source, general, turn, mode);
        }
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                for (int c = 0; c < 4; ++c)
                    EXPECT_NEAR(fast.get(x, y, c), general.get(x, y, c), 1) << mode << ": " << x << "," << y;
    }
}

// Sampling points billions of pixels away, and scales that step by billions: nothing beyond the outline is
// drawn, nothing wraps around into view.
TEST(IplWarpAffine, FarAwayTransformsDrawNothing) {
    TestImage source(4, 4, 4), target(6, 6, 4);
    fillWithPattern(source, 4, 4);
    iplSet(target, 40);
    // Column 0 samples the source at x = -1 (on its outline); each further column is 10^10 pixels on.
    const double far[2][3] = {{1, 0, -4.0e9}, {0, 1, 3.0e9}};
    const double squeezed[2][3] = {{1e-10, 0, 1e-10}, {0, 1, 0}};
    const double mirrored[2][3] = {{-1e-10, 0, -1e-10}, {0, 1, 0}};
    for (int mode : {IPL_INTER_NN, IPL_INTER_LINEAR, IPL_INTER_LINEAR | IPL_SMOOTH_EDGE})
        for (const auto* coeffs : {far, squeezed, mirrored})
            iplWarpAffine(source, target, coeffs, mode);
    for (int y = 0; y < 6; ++y)
        for (int x = 1; x < 6; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(target.get(x, y, c), 40) << x << "," << y;
}

// Four-channel 8-bit resizing has fast paths (whole-pixel and whole-row copies, linear in fixed point, halving
// by blocks); channel by channel it takes the general path.
TEST(IplResize, FastAndGeneralPathsAgree) {
    TestImage source(23, 11, 4);
    fillWithPattern(source, 23, 11);
    const int fractions[][2] = {{2, 1}, {1, 2}, {3, 5}, {7, 3}, {1, 1}};
    for (int mode : {IPL_INTER_NN, IPL_INTER_LINEAR, IPL_INTER_SUPER})
        for (const auto& across : fractions)
            for (const auto& down : fractions) {
                TestImage fast(40, 40, 4), general(40, 40, 4);
                iplResize(source, fast, across[0], across[1], down[0], down[1], mode);
                for (int c = 1; c <= 4; ++c) {
                    TestROI from(source, 0, 0, 23, 11, c);
                    TestROI to(general, 0, 0, 40, 40, c);
                    iplResize(source, general, across[0], across[1], down[0], down[1], mode);
                }
                for (int y = 0; y < 40; ++y)
                    for (int x = 0; x < 40; ++x)
                        for (int c = 0; c < 4; ++c)
                            ASSERT_EQ(fast.get(x, y, c), general.get(x, y, c))
                                << mode << ": " << across[0] << "/" << across[1] << " x " << down[0] << "/" << down[1]
                                << " at " << x << "," << y << "," << c;
            }
}
