#include "IplTestImage.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

// Every function that writes an image honours its region, its channel of interest and its mask: whatever it
// computes, only the selected channel of the selected, unmasked pixels may change.
TEST(IplRestriction, RegionChannelAndMaskLimitEveryWrite) {
    struct Case {
        std::string name;
        std::function<void(IplImage* source, IplImage* target)> run;
    };
    const double shift[2][3] = {{1, 0, 1}, {0, 1, 0}};
    const std::vector<Case> cases{
        {"AddS",
         [](IplImage* s, IplImage* d) {
             iplAddS(s, d, 40);
         }},
        {"SubtractS",
         [](IplImage* s, IplImage* d) {
             iplSubtractS(s, d, 200, true);
         }},
        {"MultiplyS",
         [](IplImage* s, IplImage* d) {
             iplMultiplyS(s, d, 3);
         }},
        {"MultiplySScale",
         [](IplImage* s, IplImage* d) {
             iplMultiplySScale(s, d, 100);
         }},
        {"XorS",
         [](IplImage* s, IplImage* d) {
             iplXorS(s, d, 0xFF);
         }},
        {"Copy",
         [](IplImage* s, IplImage* d) {
             iplCopy(s, d);
         }},
        {"Threshold",
         [](IplImage* s, IplImage* d) {
             iplThreshold(s, d, 100);
         }},
        {"Blur",
         [](IplImage* s, IplImage* d) {
             iplBlur(s, d, 3, 3, 1, 1);
         }},
        {"Sharpen",
         [](IplImage* s, IplImage* d) {
             iplFixedFilter(s, d, IPL_SHARPEN_3x3);
         }},
        {"Dilate",
         [](IplImage* s, IplImage* d) {
             iplDilate(s, d, 1);
         }},
        {"Mirror",
         [](IplImage* s, IplImage* d) {
             iplMirror(s, d, -1);
         }},
        {"Resize",
         [](IplImage* s, IplImage* d) {
             iplResize(s, d, 1, 1, 1, 1, IPL_INTER_LINEAR);
         }},
        {"Warp",
         [&shift](IplImage* s, IplImage* d) {
             iplWarpAffine(s, d, shift, IPL_INTER_NN);
         }},
    };
    for (const Case& test : cases) {
        TestImage source(6, 6, 3), target(6, 6, 3), mask(6, 6, 1, IPL_DEPTH_1U);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                for (int c = 0; c < 3; ++c) {
                    source.set(x, y, c, (x * 37 + y * 91 + c * 53) % 256);
                    target.set(x, y, c, (x * 13 + y * 29 + c * 7) % 256);
                }
        iplSet(mask, 1);
        mask.set(2, 2, 0, 0); // one pixel inside the region is masked out
        std::vector<int> before;
        for (int y = 0; y < 6; ++y)
            for (int c = 0; c < 3; ++c)
                for (int v : target.row(y, c))
                    before.push_back(v);
        {
            TestROI from(source, 1, 1, 3, 3, 2);
            TestROI to(target, 1, 1, 3, 3, 2);
            TestROI aligned(mask, 1, 1, 3, 3); // the mask lines up with the target's region, as the guards make it
            target->maskROI = mask;
            test.run(source, target);
            target->maskROI = nullptr;
        }
        int changed = 0;
        std::size_t k = 0;
        for (int y = 0; y < 6; ++y)
            for (int c = 0; c < 3; ++c)
                for (int x = 0; x < 6; ++x, ++k) {
                    const bool writable = c == 1 && x >= 1 && x <= 3 && y >= 1 && y <= 3 && !(x == 2 && y == 2);
                    if (target.get(x, y, c) != before[k]) {
                        ++changed;
                        EXPECT_TRUE(writable) << test.name << " wrote (" << x << ", " << y << ") channel " << c;
                    }
                }
        EXPECT_GT(changed, 0) << test.name << " changed nothing";
    }
}

// An image whose header claims a depth the library does not know is left alone by every operation, however its
// buffer was sized.
TEST(IplRestriction, UnknownDepthsChangeNothing) {
    for (int depth : {0, 2, 12}) {
        TestImage image(9, 4), other(9, 4);
        iplSet(image, 7);
        image->depth = depth;
        iplBlur(image, image, 3, 3, 1, 1);
        iplMirror(image, image, -1);
        iplThreshold(image, image, 3);
        iplSet(other, 1);
        iplCopy(image, other);
        image->depth = IPL_DEPTH_8U;
        for (int y = 0; y < 4; ++y) {
            EXPECT_EQ(image.row(y), std::vector<int>(9, 7)) << depth;
            EXPECT_EQ(other.row(y), std::vector<int>(9, 1)) << depth;
        }
    }
}

// A mask's region may lie anywhere, even at the ends of the coordinate range: whatever it does not cover is
// masked out.
TEST(IplRestriction, MaskRegionsAtTheEndsOfTheRange) {
    for (const int offset : {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX}) {
        TestImage target(4, 2, 1), mask(4, 2, 1, IPL_DEPTH_1U);
        iplSet(mask, 1);
        TestROI x(mask, offset, 0, 4, 2);
        target->maskROI = mask;
        iplSet(target, 9);
        target->maskROI = nullptr;
        EXPECT_EQ(target.row(0), (std::vector<int>{0, 0, 0, 0})) << offset;
        TestROI y(mask, 0, offset, 4, 2);
        target->maskROI = mask;
        iplSet(target, 9);
        target->maskROI = nullptr;
        EXPECT_EQ(target.row(1), (std::vector<int>{0, 0, 0, 0})) << offset;
    }
}
