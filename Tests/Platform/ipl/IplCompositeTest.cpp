#include "IplTestImage.h"

#include <gtest/gtest.h>

namespace {

// A BGRA image of one pixel per (colour, alpha) pair, every colour channel set to the colour.
void setPixels(TestImage& image, std::initializer_list<std::pair<int, int>> pixels) {
    int x = 0;
    for (auto [colour, alpha] : pixels) {
        for (int c = 0; c < 3; ++c)
            image.set(x, 0, c, colour);
        image.set(x, 0, 3, alpha);
        ++x;
    }
}

} // namespace

TEST(IplAlphaComposite, OverWithTheImagesOwnAlpha) {
    TestImage a(3, 1, 4), b(3, 1, 4);
    setPixels(a, {{200, 128}, {200, 128}, {100, 128}});
    setPixels(b, {{100, 255}, {100, 0}, {100, 255}});
    a->alphaChannel = b->alphaChannel = 4;
    iplAlphaComposite(a, b, b, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, false, false);
    EXPECT_EQ(b.get(0, 0, 0), 150); // 0.502 * 200 + 0.498 * 100
    EXPECT_EQ(b.get(0, 0, 3), 255);
    EXPECT_EQ(b.get(1, 0, 0), 100); // over transparent: a premultiplied colour
    EXPECT_EQ(b.get(1, 0, 3), 128);
    EXPECT_EQ(b.get(2, 0, 1), 100);
}

TEST(IplAlphaComposite, PremultipliedAndDivided) {
    TestImage a(2, 1, 4), b(2, 1, 4);
    setPixels(a, {{100, 128}, {200, 128}});
    setPixels(b, {{100, 255}, {0, 0}});
    a->alphaChannel = b->alphaChannel = 4;
    iplAlphaComposite(a, b, b, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, true, false);
    EXPECT_EQ(b.get(0, 0, 2), 150); // 100 + 0.498 * 100 = 149.8, rounded
    setPixels(b, {{100, 255}, {0, 0}});
    iplAlphaComposite(a, b, b, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, false, true);
    EXPECT_EQ(b.get(1, 0, 0), 200); // divided back by the result alpha
    EXPECT_EQ(b.get(1, 0, 3), 128);
}

TEST(IplAlphaComposite, OtherTypes) {
    struct Row {
        int type, colour, alpha;
    };
    // A = 200 at alpha 128 over B = 100 at alpha 255.
    for (const Row& r :
         {Row{IPL_COMPOSITE_IN, 100, 128}, Row{IPL_COMPOSITE_OUT, 0, 0}, Row{IPL_COMPOSITE_ATOP, 150, 255},
          Row{IPL_COMPOSITE_XOR, 50, 127}, Row{IPL_COMPOSITE_PLUS, 200, 255}}) {
        TestImage a(1, 1, 4), b(1, 1, 4);
        setPixels(a, {{200, 128}});
        setPixels(b, {{100, 255}});
        a->alphaChannel = b->alphaChannel = 4;
        iplAlphaComposite(a, b, b, r.type, nullptr, nullptr, nullptr, false, false);
        EXPECT_EQ(b.get(0, 0, 0), r.colour) << r.type;
        EXPECT_EQ(b.get(0, 0, 3), r.alpha) << r.type;
    }
}

TEST(IplAlphaComposite, SeparateAlphaImagesAndMasks) {
    TestImage a(2, 1), b(2, 1), alphaA(2, 1), result(2, 1), mask(2, 1, 1, IPL_DEPTH_1U);
    a.fill({255, 255});
    b.fill({0, 0});
    alphaA.fill({51, 51}); // B takes 1 - alpha of A
    mask.set(0, 0, 0, 1);
    result->maskROI = mask;
    iplAlphaComposite(a, b, result, IPL_COMPOSITE_OVER, alphaA, nullptr, nullptr, false, false);
    result->maskROI = nullptr;
    EXPECT_EQ(result.row(0), (std::vector<int>{51, 0}));

    // Without an alpha for A the call does nothing.
    TestImage untouched(1, 1, 4);
    iplAlphaComposite(untouched, untouched, untouched, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, false, false);
    EXPECT_EQ(untouched.get(0, 0, 0), 0);
}

TEST(IplPreMultiplyAlpha, OwnAndGlobalAlpha) {
    TestImage image(1, 1, 4);
    image.set(0, 0, 2, 200);
    image.set(0, 0, 1, 100);
    image.set(0, 0, 3, 128);
    iplPreMultiplyAlpha(image, -1); // no alpha channel declared: nothing
    EXPECT_EQ(image.get(0, 0, 2), 200);
    image->alphaChannel = 4;
    iplPreMultiplyAlpha(image, -1);
    EXPECT_EQ(image.get(0, 0, 2), 100);
    EXPECT_EQ(image.get(0, 0, 1), 50);
    EXPECT_EQ(image.get(0, 0, 3), 128);
    iplPreMultiplyAlpha(image, 51);
    EXPECT_EQ(image.get(0, 0, 2), 20);
    EXPECT_EQ(image.get(0, 0, 3), 51);
}

// Premultiplied "over" runs four pixels at a time without a mask and pixel by pixel with one: both must agree.
TEST(IplAlphaComposite, PremultipliedRowsAgreeWithAndWithoutMask) {
    TestImage a(11, 3, 4), plain(11, 3, 4), masked(11, 3, 4), mask(11, 3, 1, IPL_DEPTH_1U);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x) {
            const int alpha = (x * 47 + y * 101) % 256;
            for (int c = 0; c < 3; ++c)
                a.set(x, y, c, (x * 13 + y * 7 + c * 29) % (alpha + 1)); // premultiplied: colour <= alpha
            a.set(x, y, 3, alpha);
            for (int c = 0; c < 4; ++c) {
                plain.set(x, y, c, (x * 31 + y * 17 + c * 53) % 256);
                masked.set(x, y, c, plain.get(x, y, c));
            }
        }
    iplSet(mask, 1);
    a->alphaChannel = plain->alphaChannel = masked->alphaChannel = 4;
    iplAlphaComposite(a, plain, plain, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, true, false);
    masked->maskROI = mask;
    iplAlphaComposite(a, masked, masked, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, true, false);
    masked->maskROI = nullptr;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x)
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(plain.get(x, y, c), masked.get(x, y, c)) << x << "," << y << "," << c;
}

// Plain "over" runs two pixels at a time where both are enabled: every pair of alphas against the rounded
// formula, without a mask and with one that leaves out every third pixel.
TEST(IplAlphaComposite, PlainOverRowsMatchTheFormula) {
    const int width = 257;
    auto colour = [](int x, int y, int c) {
        return (x * 31 + y * 17 + c * 53) % 256;
    };
    for (bool withMask : {false, true}) {
        TestImage a(width, 2, 4), b(width, 2, 4), mask(width, 2, 1, IPL_DEPTH_1U);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    a.set(x, y, c, colour(x, y, c));
                    b.set(x, y, c, colour(y, x, c));
                }
                a.set(x, y, 3, x % 256);
                b.set(x, y, 3, (x * 7 + y * 128) % 256);
                mask.set(x, y, 0, (x / 5) % 3 != 0); // runs of ten pixels and gaps of five
            }
        a->alphaChannel = b->alphaChannel = 4;
        b->maskROI = withMask ? static_cast<IplImage*>(mask) : nullptr;
        iplAlphaComposite(a, b, b, IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr, false, false);
        b->maskROI = nullptr;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x) {
                const int av = x % 256, bv = (x * 7 + y * 128) % 256;
                const bool drawn = !withMask || (x / 5) % 3 != 0;
                for (int c = 0; c < 3; ++c) {
                    const int expected =
                        (255 * av * colour(x, y, c) + (255 - av) * bv * colour(y, x, c) + 32512) / 65025;
                    ASSERT_EQ(b.get(x, y, c), drawn ? expected : colour(y, x, c)) << x << "," << y << "," << c;
                }
                ASSERT_EQ(b.get(x, y, 3), drawn ? av + ((255 - av) * bv + 127) / 255 : bv) << x << "," << y;
            }
    }
}
