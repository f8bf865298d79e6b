// RGB to HSV and back on 8-bit images. The colour image is read in the system's blue-green-red order; the HSV
// image holds hue in its first channel, saturation in its second and value in its third. Hue runs 0..255 per
// turn (255 is 360 degrees), saturation 0..255; results are rounded half up. Further channels (alpha) are left
// alone.

#include "Platform/ipl/IplArea.h"

#include <algorithm>
#include <cstdint>

using namespace ipl;

namespace {

struct Triple {
    int first, second, third;
};

// Both hue and saturation are a quotient n / (2 m) with n < 2^17 and m < 256. The division becomes one
// multiplication by a reciprocal from a table: with r = floor(2^32 / 2m) + 1, floor(n * r / 2^32) is exact
// whenever n * 2m < 2^32. The reciprocal of zero is zero, so grey needs no case of its own.
struct HalfReciprocals {
    std::uint64_t of[256] = {};

    HalfReciprocals() {
        for (std::uint64_t m = 1; m < 256; ++m)
            of[m] = (std::uint64_t{1} << 32) / (2 * m) + 1;
    }
    int divide(int n, int m) const { return static_cast<int>((static_cast<std::uint64_t>(n) * of[m]) >> 32); }
};

// Hue counts 255 to the turn, 42.5 to the sixth: red, green or blue largest starts it at 0, 2 or 4 sixths, and
// the other two's difference over d moves it up to one sixth either way. Below zero (red largest, blue over
// green) it wraps round the turn. The largest is picked by 0/1 flags rather than conditions, which compile to
// branches that busy pictures mispredict (the round trip ran 30% faster without them).
Triple toHsv(const HalfReciprocals& reciprocals, int r, int g, int b) {
    const int v = std::max({r, g, b});
    const int d = v - std::min({r, g, b});
    const int red = v == r, green = (v == g) & !red, blue = 1 - red - green; // one of them is 1
    int sixths =
        (2 * green + 4 * blue) * d + red * (g - b) + green * (b - r) + blue * (r - g); // hue in sixths, times d
    sixths += (sixths >> 31) & (6 * d);
    const int hue = reciprocals.divide(85 * sixths + d, d);
    return {std::min(hue, 255), reciprocals.divide(510 * d + v, v), v};
}

// The textbook inverse in integers: the hue's sixth of the turn and the fraction within it (out of 255). Which
// of value, p, q and t each component takes comes from a table by sector, so the pixel loop does not branch.
Triple toRgb(int h, int s, int v) {
    static constexpr std::uint8_t pick[6][3] = {{0, 3, 1}, {2, 0, 1}, {1, 0, 3}, {1, 2, 0}, {3, 1, 0}, {0, 1, 2}};
    const int sector = (h * 6 / 255) % 6;
    const unsigned f = static_cast<unsigned>(h * 6 % 255);
    const unsigned us = static_cast<unsigned>(s), uv = static_cast<unsigned>(v);
    const unsigned values[4] = {uv, (uv * (255 - us) + 127) / 255, (uv * (65025 - us * f) + 32512) / 65025,
                                (uv * (65025 - us * (255 - f)) + 32512) / 65025}; // value, p, q, t
    const std::uint8_t* order = pick[sector];
    return {static_cast<int>(values[order[0]]), static_cast<int>(values[order[1]]), static_cast<int>(values[order[2]])};
}

// Converts the first three lanes of part 0 into the first three of part 1, pixel by pixel.
template <class Convert>
void convertPixels(IplImage* from, IplImage* to, Convert convert) {
    Area area({from, to}, Channels::Colour, false);
    if (!area || from->depth != IPL_DEPTH_8U || to->depth != IPL_DEPTH_8U || area[0].laneCount < 3 ||
        area[1].laneCount < 3)
        return;
    // Lane offsets in locals: the byte stores below could otherwise alias them and force reloads per pixel.
    const int sStep = area[0].pixelElements, s0 = area[0].lanes[0], s1 = area[0].lanes[1], s2 = area[0].lanes[2];
    const int dStep = area[1].pixelElements, d0 = area[1].lanes[0], d1 = area[1].lanes[1], d2 = area[1].lanes[2];
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        const std::uint8_t* sp = area[0].row<std::uint8_t>(j);
        std::uint8_t* dp = area[1].row<std::uint8_t>(j);
        for (int i = 0; i < area.width; ++i, sp += sStep, dp += dStep) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            const Triple t = convert(sp[s0], sp[s1], sp[s2]);
            dp[d0] = static_cast<std::uint8_t>(std::clamp(t.first, 0, 255));
            dp[d1] = static_cast<std::uint8_t>(std::clamp(t.second, 0, 255));
            dp[d2] = static_cast<std::uint8_t>(std::clamp(t.third, 0, 255));
        }
    }
}

} // namespace

void iplRGB2HSV(IplImage* rgbImage, IplImage* hsvImage) {
    static const HalfReciprocals reciprocals; // built once, not checked for per pixel
    convertPixels(rgbImage, hsvImage, [](int b, int g, int r) { return toHsv(reciprocals, r, g, b); });
}

void iplHSV2RGB(IplImage* hsvImage, IplImage* rgbImage) {
    convertPixels(hsvImage, rgbImage, [](int h, int s, int v) {
        const Triple rgb = toRgb(h, s, v);
        return Triple{rgb.third, rgb.second, rgb.first}; // stored blue, green, red
    });
}
