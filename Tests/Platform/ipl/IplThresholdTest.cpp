#include "IplTestImage.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(IplThreshold, IntoGreyAndIntoBits) {
    TestImage grey(4, 1), out(4, 1), bits(4, 1, 1, IPL_DEPTH_1U);
    grey.fill({127, 128, 0, 255});
    iplThreshold(grey, out, 128);
    EXPECT_EQ(out.row(0), (std::vector<int>{0, 255, 0, 255}));
    iplThreshold(grey, bits, 1);
    EXPECT_EQ(bits.row(0), (std::vector<int>{1, 1, 0, 1}));

    // The alpha channel of a colour image into a mask, through the channel of interest.
    TestImage colour(2, 1, 4);
    colour.set(1, 0, 3, 200);
    TestImage mask(2, 1, 1, IPL_DEPTH_1U);
    {
        TestROI alpha(colour, 0, 0, 2, 1, 4);
        iplThreshold(colour, mask, 1);
    }
    EXPECT_EQ(mask.row(0), (std::vector<int>{0, 1}));
    iplThreshold(colour, mask, 1); // three or four channels into one bit: refused, nothing changes
    EXPECT_EQ(mask.row(0), (std::vector<int>{0, 1}));
}

// Rows long enough for the sixteen-at-a-time path with a ragged end, from grey and from each channel of
// interest of a four-channel image, at thresholds inside and outside the byte range.
TEST(IplThreshold, WideRowsIntoBitsMatchEachPixel) {
    const int width = 45;
    TestImage grey(width, 2), colour(width, 2, 4), bits(width, 2, 1, IPL_DEPTH_1U);
    auto value = [](int x, int y, int c) {
        return (x * 37 + y * 101 + c * 59) & 255;
    };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < width; ++x) {
            grey.set(x, y, 0, value(x, y, 0));
            for (int c = 0; c < 4; ++c)
                colour.set(x, y, c, value(x, y, c));
        }
    auto expectBits = [&](int threshold, int c) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(bits.get(x, y, 0), value(x, y, c) >= threshold ? 1 : 0)
                    << x << "," << y << " channel " << c << " threshold " << threshold;
    };
    for (int threshold : {-5, 0, 1, 128, 255, 256}) {
        iplThreshold(grey, bits, threshold);
        expectBits(threshold, 0);
        for (int c = 0; c < 4; ++c) {
            TestROI lane(colour, 0, 0, width, 2, c + 1);
            iplThreshold(colour, bits, threshold);
            expectBits(threshold, c);
        }
    }
}

TEST(IplCompare, EveryChannelOrTheChannelOfInterest) {
    TestImage colour(1, 1, 3), bits(1, 1, 1, IPL_DEPTH_1U);
    colour.set(0, 0, 0, 10);
    colour.set(0, 0, 1, 20);
    colour.set(0, 0, 2, 30);
    EXPECT_EQ(iplGreaterS(colour, 15, bits), IPL_StsOk);
    EXPECT_EQ(bits.get(0, 0), 0);
    {
        TestROI third(colour, 0, 0, 1, 1, 3);
        iplGreaterS(colour, 15, bits);
    }
    EXPECT_EQ(bits.get(0, 0), 1);
    {
        TestROI first(colour, 0, 0, 1, 1, 1);
        iplLessS(colour, 15, bits);
    }
    EXPECT_EQ(bits.get(0, 0), 1);
    TestImage grey(1, 1);
    EXPECT_EQ(iplLessS(colour, 15, grey), IPL_StsBadArg); // the result must be one bit
}

TEST(IplNorm, ValuesDifferencesAndMasks) {
    TestImage bits(10, 1, 1, IPL_DEPTH_1U);
    for (int x : {2, 5, 9})
        bits.set(x, 0, 0, 1);
    EXPECT_EQ(iplNorm(bits, nullptr, IPL_C), 1.0);
    EXPECT_EQ(iplNorm(bits, nullptr, IPL_L1), 3.0);
    {
        TestROI right(bits, 6, 0, 4, 1);
        EXPECT_EQ(iplNorm(bits, nullptr, IPL_L1), 1.0);
    }
    TestImage empty(10, 1, 1, IPL_DEPTH_1U);
    EXPECT_EQ(iplNorm(empty, nullptr, IPL_C), 0.0);

    TestImage a(2, 1, 4), b(2, 1, 4);
    a.set(0, 0, 0, 3);
    a.set(1, 0, 1, 4);
    a.set(0, 0, 3, 100);
    a->alphaChannel = 4; // alpha takes no part
    EXPECT_DOUBLE_EQ(iplNorm(a, nullptr, IPL_L2), 5.0);
    b.set(0, 0, 0, 1);
    b->alphaChannel = 4;
    EXPECT_DOUBLE_EQ(iplNorm(a, b, IPL_C), 4.0);
    EXPECT_DOUBLE_EQ(iplNorm(a, b, IPL_RELATIVEL1), 6.0); // |2| + |4|, over |1|
    EXPECT_EQ(iplNorm(a, nullptr, IPL_RELATIVEC), 0.0);
}

TEST(IplColour, HsvPrimariesAndBack) {
    TestImage rgb(5, 1, 3), hsv(5, 1, 3), back(5, 1, 3);
    auto setRgb = [&](int x, int r, int g, int b) {
        rgb.set(x, 0, 0, b);
        rgb.set(x, 0, 1, g);
        rgb.set(x, 0, 2, r);
    };
    setRgb(0, 255, 0, 0);
    setRgb(1, 0, 255, 0);
    setRgb(2, 0, 0, 255);
    setRgb(3, 77, 77, 77);
    setRgb(4, 200, 100, 50);
    iplRGB2HSV(rgb, hsv);
    EXPECT_EQ(hsv.get(0, 0, 0), 0);
    EXPECT_EQ(hsv.get(0, 0, 1), 255);
    EXPECT_EQ(hsv.get(0, 0, 2), 255);
    EXPECT_EQ(hsv.get(1, 0, 0), 85);
    EXPECT_EQ(hsv.get(2, 0, 0), 170);
    EXPECT_EQ(hsv.get(3, 0, 1), 0);
    EXPECT_EQ(hsv.get(3, 0, 2), 77);
    iplHSV2RGB(hsv, back);
    for (int x = 0; x < 5; ++x)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(back.get(x, 0, c), rgb.get(x, 0, c), 2) << x << "/" << c;
}

// Every red-green pair, with blue running across both, against exact rational arithmetic rounded half up.
TEST(IplColour, HsvMatchesExactArithmeticEverywhere) {
    TestImage rgb(256, 256, 3), hsv(256, 256, 3);
    auto blue = [](int r, int g) {
        return (r * 7 + g * 13) & 255;
    };
    for (int g = 0; g < 256; ++g)
        for (int r = 0; r < 256; ++r) {
            rgb.set(r, g, 0, blue(r, g));
            rgb.set(r, g, 1, g);
            rgb.set(r, g, 2, r);
        }
    iplRGB2HSV(rgb, hsv);
    for (int g = 0; g < 256; ++g)
        for (int r = 0; r < 256; ++r) {
            const int b = blue(r, g), v = std::max({r, g, b}), d = v - std::min({r, g, b});
            if (d == 0)
                continue;
            // hue in sixths of a turn, times d
            const int sixths = v == r ? (g - b + 6 * d) % (6 * d) : v == g ? 2 * d + b - r : 4 * d + r - g;
            ASSERT_EQ(hsv.get(r, g, 0), std::min(255, (sixths * 255 * 2 + 6 * d) / (12 * d))) << r << "," << g;
            ASSERT_EQ(hsv.get(r, g, 1), (255 * d * 2 + v) / (2 * v)) << r << "," << g;
        }
}

// Every hue and saturation at a few values, against the textbook integer inverse rounded half up.
TEST(IplColour, HsvToRgbMatchesIntegerArithmeticEverywhere) {
    for (int v : {0, 1, 128, 254, 255}) {
        TestImage hsv(256, 256, 3), rgb(256, 256, 3);
        for (int s = 0; s < 256; ++s)
            for (int h = 0; h < 256; ++h) {
                hsv.set(h, s, 0, h);
                hsv.set(h, s, 1, s);
                hsv.set(h, s, 2, v);
            }
        iplHSV2RGB(hsv, rgb);
        for (int s = 0; s < 256; ++s)
            for (int h = 0; h < 256; ++h) {
                const int sector = h * 6 / 255 % 6, f = h * 6 % 255;
                const int p = (v * (255 - s) + 127) / 255, q = (v * (65025 - s * f) + 32512) / 65025,
                          t = (v * (65025 - s * (255 - f)) + 32512) / 65025;
                const int expected[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
                ASSERT_EQ(rgb.get(h, s, 2), expected[sector][0]) << h << "," << s << "," << v;
                ASSERT_EQ(rgb.get(h, s, 1), expected[sector][1]) << h << "," << s << "," << v;
                ASSERT_EQ(rgb.get(h, s, 0), expected[sector][2]) << h << "," << s << "," << v;
            }
    }
}

TEST(IplBitonalToGray, Scales) {
    TestImage bits(3, 1, 1, IPL_DEPTH_1U), grey(3, 1);
    bits.fill({1, 0, 1});
    iplBitonalToGray(bits, grey, 0, 128);
    EXPECT_EQ(grey.row(0), (std::vector<int>{128, 0, 128}));
}
