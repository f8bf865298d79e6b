#include "IplTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

    // The window moving from INT_MIN onto INT_MAX.
    TestImage row(3, 1, 1, IPL_DEPTH_32S), rowOut(3, 1, 1, IPL_DEPTH_32S);
    iplSetBorderMode(row, IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 0);
    row.set(0, 0, 0, INT_MIN);
    row.set(2, 0, 0, INT_MAX);
    iplBlur(row, rowOut, 2, 1, 0, 0);
    EXPECT_EQ(rowOut.row(0), (std::vector<int>{-(1 << 30), 1 << 30, INT_MAX}));
}

namespace {

// Border modes and constants of the four sides, in the order of the side indices (top, bottom, left, right).
struct Borders {
    std::array<int, 4> modes;
    std::array<int, 4> constants;
};

void setBorders(IplImage* image, const Borders& borders) {
    for (int side = 0; side < 4; ++side)
        iplSetBorderMode(image, borders.modes[side], 1 << side, borders.constants[side]);
}

// Folds a coordinate beyond an axis of n back into it step by step; -1 for a constant side.
int fold(int v, int n, int mode) {
    if (v >= 0 && v < n)
        return v;
    switch (mode) {
    case IPL_BORDER_REPLICATE:
        return v < 0 ? 0 : n - 1;
    case IPL_BORDER_WRAP:
        while (v < 0)
            v += n;
        while (v >= n)
            v -= n;
        return v;
    case IPL_BORDER_REFLECT:
        while (v < 0 || v >= n)
            v = v < 0 ? -1 - v : 2 * n - 1 - v;
        return v;
    default:
        return -1;
    }
}

// The value at (x, y) of the image extended by its borders: the row's side decides first, then the column's.
int extended(const TestImage& image, const Borders& borders, int x, int y, int c) {
    const int rowSide = y < 0 ? IPL_SIDE_TOP_INDEX : IPL_SIDE_BOTTOM_INDEX;
    const int iy = fold(y, image->height, borders.modes[rowSide]);
    if (iy < 0)
        return borders.constants[rowSide];
    const int columnSide = x < 0 ? IPL_SIDE_LEFT_INDEX : IPL_SIDE_RIGHT_INDEX;
    const int ix = fold(x, image->width, borders.modes[columnSide]);
    return ix < 0 ? borders.constants[columnSide] : image.get(ix, iy, c);
}

// The blurred value at (x, y) summed pixel by pixel, rounded half up and saturated to the image's depth.
int directMean(const TestImage& image, const Borders& borders, int x, int y, int c, int nCols, int nRows, int anchorX,
               int anchorY) {
    long long sum = 0;
    for (int v = 0; v < nRows; ++v)
        for (int u = 0; u < nCols; ++u)
            sum += extended(image, borders, x - anchorX + u, y - anchorY + v, c);
    const long long area = static_cast<long long>(nCols) * nRows;
    return static_cast<int>(std::min<long long>((sum + area / 2) / area, ipl::bitsOf(image) == 8 ? 255 : INT_MAX));
}

struct BoxCase {
    int nCols, nRows, anchorX, anchorY;
};

} // namespace

TEST(IplBlur, KernelsLargerThanTheImageMatchADirectSum) {
    // Kernels far wider, far taller or both than a 5 x 4 image, under every border mode on every side, with sums
    // in 32 bits (8-bit values) and in 64 (32-bit values).
    const int modes[] = {IPL_BORDER_CONSTANT, IPL_BORDER_REPLICATE, IPL_BORDER_REFLECT, IPL_BORDER_WRAP};
    for (const int depth : {IPL_DEPTH_8U, IPL_DEPTH_32S}) {
        const int scale = depth == IPL_DEPTH_8U ? 1 : 1 << 20;
        TestImage image(5, 4, 1, depth), out(5, 4, 1, depth);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                image.set(x, y, 0, (x * 53 + y * 29 + 7) % 256 * scale);
        for (int combination = 0; combination < 256; ++combination) {
            const Borders borders{{modes[combination & 3], modes[(combination >> 2) & 3], modes[(combination >> 4) & 3],
                                   modes[combination >> 6]},
                                  {10 * scale, 200 * scale, 30 * scale, 250 * scale}};
            setBorders(image, borders);
            for (const BoxCase& k : {BoxCase{23, 19, 7, 11}, BoxCase{2, 13, 1, 12}, BoxCase{17, 3, 16, 0},
                                     BoxCase{31, 1, 0, 0}, BoxCase{1, 9, 0, 4}}) {
                iplBlur(image, out, k.nCols, k.nRows, k.anchorX, k.anchorY);
                for (int y = 0; y < 4; ++y)
                    for (int x = 0; x < 5; ++x)
                        ASSERT_EQ(out.get(x, y),
                                  directMean(image, borders, x, y, 0, k.nCols, k.nRows, k.anchorX, k.anchorY))
                            << "depth " << depth << ", borders " << combination << ", kernel " << k.nCols << "x"
                            << k.nRows << " at " << x << "," << y;
            }
        }
    }
}

TEST(IplBlur, KernelsLargerThanTheImageKeepRegionsChannelsAndMasks) {
    // Channel 2 of a region of a colour image, through a mask, in place: neighbours outside the region are read
    // as they are and every other value stays.
    TestImage image(6, 5, 3), mask(4, 3, 1, IPL_DEPTH_1U);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            for (int c = 0; c < 3; ++c)
                image.set(x, y, c, (x * 41 + y * 17 + c * 90) % 256);
    mask.fill({1, 0, 1, 1, 1, 1, 0, 1, 0, 1, 1, 1});
    const Borders borders{{IPL_BORDER_REFLECT, IPL_BORDER_REPLICATE, IPL_BORDER_CONSTANT, IPL_BORDER_WRAP},
                          {0, 0, 99, 0}};
    setBorders(image, borders);
    TestImage original(6, 5, 3);
    iplCopy(image, original);
    setBorders(original, borders);
    image->maskROI = mask;
    {
        TestROI region(image, 1, 2, 4, 3, 2);
        iplBlur(image, image, 14, 11, 9, 2);
    }
    image->maskROI = nullptr;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            for (int c = 0; c < 3; ++c) {
                const bool blurred = c == 1 && x >= 1 && x < 5 && y >= 2 && mask.get(x - 1, y - 2) == 1;
                const int expected =
                    blurred ? directMean(original, borders, x, y, c, 14, 11, 9, 2) : original.get(x, y, c);
                EXPECT_EQ(image.get(x, y, c), expected) << x << "," << y << "," << c;
            }
}

TEST(IplBlur, HugeKernelsCostNoMoreThanTheImage) {
    // A wrapping window whose sides are multiples of the image's covers every pixel equally often.
    TestImage image(4, 4), out(4, 4);
    int total = 0;
    for (int k = 0; k < 16; ++k) {
        image.set(k % 4, k / 4, 0, k * 13);
        total += k * 13;
    }
    iplSetBorderMode(image, IPL_BORDER_WRAP, IPL_SIDE_ALL, 0);
    iplBlur(image, out, 65536, 65536, 100, 65000);
    EXPECT_EQ(out.row(0), std::vector<int>(4, (total + 8) / 16));

    // The largest kernels, anchored at their far corner: beyond the image only the border constant counts.
    iplSetBorderMode(image, IPL_BORDER_CONSTANT, IPL_SIDE_ALL, 255);
    iplBlur(image, image, INT_MAX, INT_MAX, INT_MAX - 1, INT_MAX - 1);
    EXPECT_EQ(image.row(3), std::vector<int>(4, 255));

    // A window of one row reaching far right, one of one column reaching far up: replicated edges.
    TestImage small(3, 2), smallOut(3, 2);
    small.fill({10, 20, 30, 40, 50, 60});
    iplSetBorderMode(small, IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 0);
    iplBlur(small, smallOut, INT_MAX, 1, 0, 0);
    EXPECT_EQ(smallOut.row(1), std::vector<int>(3, 60));
    iplBlur(small, smallOut, 1, INT_MAX, 0, INT_MAX - 1);
    EXPECT_EQ(smallOut.row(1), (std::vector<int>{10, 20, 30}));

    // Sums of 32-bit values over such areas pass 64 bits.
    TestImage wide(3, 2, 1, IPL_DEPTH_32S);
    iplSetBorderMode(wide, IPL_BORDER_REPLICATE, IPL_SIDE_ALL, 0);
    for (int extreme : {INT_MAX, INT_MIN}) {
        iplSet(wide, extreme);
        iplBlur(wide, wide, INT_MAX, INT_MAX, INT_MAX / 2, INT_MAX - 1);
        EXPECT_EQ(wide.row(1), std::vector<int>(3, extreme));
    }
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
