// RGB to HSV and back on 8-bit images. The colour image is read in the system's blue-green-red order; the HSV
// image holds hue in its first channel, saturation in its second and value in its third. Hue runs 0..255 per
// turn (255 is about 360 degrees), saturation 0..255; results are rounded half up. Further channels (alpha) are
// left alone.

#include "Platform/ipl/IplArea.h"

#include <algorithm>
#include <cmath>

using namespace ipl;

namespace {

int rounded(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

struct Triple {
    int first, second, third;
};

Triple toHsv(int r, int g, int b) {
    const int v = std::max({r, g, b});
    const int m = std::min({r, g, b});
    const int d = v - m;
    if (v == 0 || d == 0)
        return {0, 0, v};
    double h = 0;
    if (v == r)
        h = 60.0 * (g - b) / d;
    else if (v == g)
        h = 120.0 + 60.0 * (b - r) / d;
    else
        h = 240.0 + 60.0 * (r - g) / d;
    if (h < 0)
        h += 360;
    return {std::min(rounded(h * 255 / 360), 255), rounded(255.0 * d / v), v};
}

Triple toRgb(int h, int s, int v) {
    if (s == 0)
        return {v, v, v};
    const double hue = h * 360.0 / 255.0 / 60.0;
    const int sector = static_cast<int>(std::floor(hue)) % 6;
    const double f = hue - std::floor(hue);
    const double sat = s / 255.0;
    const int p = rounded(v * (1 - sat));
    const int q = rounded(v * (1 - sat * f));
    const int t = rounded(v * (1 - sat * (1 - f)));
    switch (sector) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

// Converts the first three lanes of part 0 into the first three of part 1, pixel by pixel.
template <class Convert>
void convertPixels(IplImage* from, IplImage* to, Convert convert) {
    Area area({from, to}, Channels::Colour, false);
    if (!area || from->depth != IPL_DEPTH_8U || to->depth != IPL_DEPTH_8U || area[0].laneCount < 3 ||
        area[1].laneCount < 3)
        return;
    const Part& s = area[0];
    const Part& d = area[1];
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        const std::uint8_t* sr = s.row<std::uint8_t>(j);
        std::uint8_t* dr = d.row<std::uint8_t>(j);
        for (int i = 0; i < area.width; ++i) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            const std::uint8_t* sp = sr + i * s.pixelElements;
            std::uint8_t* dp = dr + i * d.pixelElements;
            const Triple t = convert(sp[s.lanes[0]], sp[s.lanes[1]], sp[s.lanes[2]]);
            dp[d.lanes[0]] = static_cast<std::uint8_t>(std::clamp(t.first, 0, 255));
            dp[d.lanes[1]] = static_cast<std::uint8_t>(std::clamp(t.second, 0, 255));
            dp[d.lanes[2]] = static_cast<std::uint8_t>(std::clamp(t.third, 0, 255));
        }
    }
}

} // namespace

void iplRGB2HSV(IplImage* rgbImage, IplImage* hsvImage) {
    convertPixels(rgbImage, hsvImage, [](int b, int g, int r) { return toHsv(r, g, b); });
}

void iplHSV2RGB(IplImage* hsvImage, IplImage* rgbImage) {
    convertPixels(hsvImage, rgbImage, [](int h, int s, int v) {
        const Triple rgb = toRgb(h, s, v);
        return Triple{rgb.third, rgb.second, rgb.first}; // stored blue, green, red
    });
}
