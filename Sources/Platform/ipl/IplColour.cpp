// RGB to HSV and back on 8-bit images. The colour image is read in the system's blue-green-red order; the HSV
// image holds hue in its first channel, saturation in its second and value in its third. Hue runs 0..255 per
// turn (255 is 360 degrees), saturation 0..255; results are rounded half up. Further channels (alpha) are left
// alone.

#include "Platform/ipl/IplArea.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace ipl;

namespace {

int rounded(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

struct Triple {
    int first, second, third;
};

// Saturation comes from a table by (value, spread); the hue, with its rounding, from one integer division.
struct HsvTables {
    std::vector<std::uint8_t> saturation; // [v * 256 + d]

    HsvTables() : saturation(256 * 256) {
        for (int v = 1; v < 256; ++v)
            for (int d = 0; d <= v; ++d)
                saturation[static_cast<std::size_t>(v * 256 + d)] = static_cast<std::uint8_t>(rounded(255.0 * d / v));
    }
};

const HsvTables& hsvTables() {
    static const HsvTables tables;
    return tables;
}

Triple toHsv(const HsvTables& tables, int r, int g, int b) {
    const int v = std::max({r, g, b});
    const int d = v - std::min({r, g, b});
    if (d == 0)
        return {0, 0, v};
    const int sector = v == r ? 0 : v == g ? 1 : 2;
    const int difference = sector == 0 ? g - b : sector == 1 ? b - r : r - g;
    int degrees = 120 * sector * d + 60 * difference; // the hue in degrees, times d
    if (degrees < 0)
        degrees += 360 * d;
    const int hue = (degrees * 510 + 360 * d) / (720 * d); // degrees * 255 / 360, rounded half up
    return {std::min(hue, 255), tables.saturation[static_cast<std::size_t>(v * 256 + d)], v};
}

// The textbook inverse in integers: the hue's sixth of the turn and the fraction within it (out of 255). Which
// of value, p, q and t each component takes comes from a table by sector, so the pixel loop does not branch.
Triple toRgb(int h, int s, int v) {
    static constexpr std::uint8_t pick[6][3] = {{0, 3, 1}, {2, 0, 1}, {1, 0, 3}, {1, 2, 0}, {3, 1, 0}, {0, 1, 2}};
    const int sector = (h * 6 / 255) % 6;
    const int f = h * 6 % 255;
    const int values[4] = {v, (v * (255 - s) + 127) / 255, (v * (65025 - s * f) + 32512) / 65025,
                           (v * (65025 - s * (255 - f)) + 32512) / 65025}; // value, p, q, t
    return {values[pick[sector][0]], values[pick[sector][1]], values[pick[sector][2]]};
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
    const HsvTables& tables = hsvTables();
    convertPixels(rgbImage, hsvImage, [&tables](int b, int g, int r) { return toHsv(tables, r, g, b); });
}

void iplHSV2RGB(IplImage* hsvImage, IplImage* rgbImage) {
    convertPixels(hsvImage, rgbImage, [](int h, int s, int v) {
        const Triple rgb = toRgb(h, s, v);
        return Triple{rgb.third, rgb.second, rgb.first}; // stored blue, green, red
    });
}
