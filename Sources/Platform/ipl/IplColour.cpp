// RGB to HSV and back on 8-bit images. The colour image is read in the system's blue-green-red order; the HSV
// image holds hue in its first channel, saturation in its second and value in its third. Hue runs 0..255 per
// turn (255 is 360 degrees), saturation 0..255; results are rounded half up. Further channels (alpha) are left
// alone.
//
// Pixels are converted a block at a time: the channels are gathered into three arrays, converted by a loop of
// plain arithmetic that the compiler turns into vector code, and scattered back.

#include "Platform/ipl/IplArea.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace ipl;

namespace {

constexpr int BlockPixels = 64;

struct Block {
    int first[BlockPixels], second[BlockPixels], third[BlockPixels];
};

// floor(n / m) for 0 <= n < 2^24 and 0 < m, by one correctly rounded float division: when n / m is not a whole
// number it lies at least 1/m below the next one, far more than the rounding error of a quotient below 256
// for every m used here (at most 65025), so truncating the float gives the floor.
inline int quotient(int n, int m) {
    return static_cast<int>(static_cast<float>(n) / static_cast<float>(m));
}

// floor(x / 255) for 0 <= x < 65535, in shifts and adds.
inline int by255(int x) {
    return (x + 1 + (x >> 8)) >> 8;
}

// Hue counts 255 to the turn, 42.5 to the sixth: red, green or blue largest starts it at 0, 2 or 4 sixths, and
// the other two's difference over d moves it up to one sixth either way. Below zero (red largest, blue over
// green) it wraps round the turn. Everything is selection by 0/1 flags and arithmetic so that the loop has no
// branches; grey (d = 0) divides 0 by 1.
void toHsv(Block& block, int count) {
    for (int i = 0; i < count; ++i) {
        const int b = block.first[i], g = block.second[i], r = block.third[i];
        const int v = std::max(r, std::max(g, b));
        const int d = v - std::min(r, std::min(g, b));
        const int red = v == r, green = (v == g) & (1 - red), blue = 1 - red - green; // one of them is 1
        int sixths = (2 * green + 4 * blue) * d + red * (g - b) + green * (b - r) + blue * (r - g);
        sixths += (sixths >> 31) & (6 * d);
        block.first[i] = std::min(quotient(85 * sixths + d, std::max(2 * d, 1)), 255);
        block.second[i] = quotient(510 * d + v, std::max(2 * v, 1));
        block.third[i] = v;
    }
}

// The textbook inverse in integers: the hue's sixth of the turn and the fraction f within it (out of 255) give
// p, q and t, and the sector says which of value, p, q and t each component takes.
void toRgb(Block& block, int count) {
    for (int i = 0; i < count; ++i) {
        const int h = block.first[i], s = block.second[i], v = block.third[i];
        const int sixths = h * 6, whole = by255(sixths);
        const int sector = whole - 6 * (whole == 6), f = sixths - 255 * whole;
        const int p = by255(v * (255 - s) + 127);
        const int q = quotient(v * (65025 - s * f) + 32512, 65025);
        const int t = quotient(v * (65025 - s * (255 - f)) + 32512, 65025);
        // All-ones masks per sector pick the components without branches.
        const int in0 = -(sector == 0), in1 = -(sector == 1), in2 = -(sector == 2), in3 = -(sector == 3),
                  in4 = -(sector == 4), in5 = -(sector == 5);
        const int r = ((in0 | in5) & v) | (in1 & q) | (in4 & t) | ((in2 | in3) & p);
        const int g = ((in1 | in2) & v) | (in0 & t) | (in3 & q) | ((in4 | in5) & p);
        const int bl = ((in3 | in4) & v) | (in2 & t) | (in5 & q) | ((in0 | in1) & p);
        block.first[i] = bl; // stored blue, green, red
        block.second[i] = g;
        block.third[i] = r;
    }
}

// Whether a part's pixels are four bytes whose first three are the lanes converted.
bool fourBytePixels(const Part& part) {
    return part.pixelElements == 4 && part.lanes[0] == 0 && part.lanes[1] == 1 && part.lanes[2] == 2;
}

// Reads `count` pixels into the block; four-byte pixels are read whole and split by shifts, which vectorises.
void gather(const Part& part, const std::uint8_t* sp, int count, Block& block) {
    if (fourBytePixels(part)) {
        for (int i = 0; i < count; ++i) {
            std::uint32_t pixel;
            std::memcpy(&pixel, sp + 4 * i, sizeof pixel);
            block.first[i] = static_cast<int>(pixel & 0xFF);
            block.second[i] = static_cast<int>((pixel >> 8) & 0xFF);
            block.third[i] = static_cast<int>((pixel >> 16) & 0xFF);
        }
        return;
    }
    const int step = part.pixelElements, l0 = part.lanes[0], l1 = part.lanes[1], l2 = part.lanes[2];
    for (int i = 0; i < count; ++i, sp += step) {
        block.first[i] = sp[l0];
        block.second[i] = sp[l1];
        block.third[i] = sp[l2];
    }
}

// Writes the block's pixels where `enabled` allows (all when null); the fourth byte of four-byte pixels is kept.
void scatter(const Block& block, int count, const std::uint8_t* enabled, const Part& part, std::uint8_t* dp) {
    if (enabled == nullptr && fourBytePixels(part)) {
        for (int i = 0; i < count; ++i) {
            std::uint32_t pixel;
            std::memcpy(&pixel, dp + 4 * i, sizeof pixel);
            pixel = (pixel & 0xFF000000u) | static_cast<std::uint32_t>(block.first[i]) |
                    static_cast<std::uint32_t>(block.second[i]) << 8 | static_cast<std::uint32_t>(block.third[i]) << 16;
            std::memcpy(dp + 4 * i, &pixel, sizeof pixel);
        }
        return;
    }
    const int step = part.pixelElements, l0 = part.lanes[0], l1 = part.lanes[1], l2 = part.lanes[2];
    for (int i = 0; i < count; ++i, dp += step) {
        if (enabled != nullptr && enabled[i] == 0)
            continue;
        dp[l0] = static_cast<std::uint8_t>(block.first[i]);
        dp[l1] = static_cast<std::uint8_t>(block.second[i]);
        dp[l2] = static_cast<std::uint8_t>(block.third[i]);
    }
}

// Converts the first three lanes of part 0 into the first three of part 1, a block of pixels at a time.
void convertPixels(IplImage* from, IplImage* to, void (*convert)(Block&, int)) {
    Area area({from, to}, Channels::Colour, false);
    if (!area || from->depth != IPL_DEPTH_8U || to->depth != IPL_DEPTH_8U || area[0].laneCount < 3 ||
        area[1].laneCount < 3)
        return;
    Block block;
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        const std::uint8_t* sp = area[0].row<std::uint8_t>(j);
        std::uint8_t* dp = area[1].row<std::uint8_t>(j);
        for (int start = 0; start < area.width; start += BlockPixels) {
            const int count = std::min(BlockPixels, area.width - start);
            gather(area[0], sp + start * area[0].pixelElements, count, block);
            convert(block, count);
            scatter(block, count, enabled != nullptr ? enabled + start : nullptr, area[1],
                    dp + start * area[1].pixelElements);
        }
    }
}

} // namespace

void iplRGB2HSV(IplImage* rgbImage, IplImage* hsvImage) {
    convertPixels(rgbImage, hsvImage, toHsv);
}

void iplHSV2RGB(IplImage* hsvImage, IplImage* rgbImage) {
    convertPixels(hsvImage, rgbImage, toRgb);
}
