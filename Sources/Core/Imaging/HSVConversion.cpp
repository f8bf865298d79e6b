#include "Imaging/HSVConversion.h"

#include <algorithm>

namespace {

DWORD pack(DWORD alpha, int a, int b, int c) {
    return (alpha & 0xFF000000u) | DWORD(a & 0xFF) << 16 | DWORD(b & 0xFF) << 8 | DWORD(c & 0xFF);
}

// The hue in 1536 steps per turn (256 per 60 degrees); ties go to red first, then green.
int hueSteps(int r, int g, int b, int v, int d) {
    if (v == r)
        return g > b ? (g - b) * 256 / d : 1280 + (r - b) * 256 / d;
    if (v == g)
        return r > b ? 256 + (g - r) * 256 / d : 512 + (b - r) * 256 / d;
    return r < g ? 768 + (b - g) * 256 / d : 1024 + (r - g) * 256 / d;
}

} // namespace

DWORD RGBA2HSVA(DWORD rgba) {
    const int r = (rgba >> 16) & 0xFF;
    const int g = (rgba >> 8) & 0xFF;
    const int b = rgba & 0xFF;
    const int v = std::max({r, g, b});
    if (r == g && g == b)
        return pack(rgba, 0, 0, v);
    const int m = std::min({r, g, b});
    const int d = v - m;
    const int s = 255 - m * 255 / v;
    const int h = (hueSteps(r, g, b, v, d) / 6) % 256;
    return pack(rgba, h, s, v);
}

DWORD HSVA2RGBA(DWORD hsva) {
    const int h = (hsva >> 16) & 0xFF;
    const int s = (hsva >> 8) & 0xFF;
    const int v = hsva & 0xFF;
    const int sector = (h * 6) >> 8;
    const int f = (h * 6) % 256;
    const int p = (255 - s) * v / 255;
    const int t = ((255 - f) * p + f * v) / 255;
    const int q = (f * p + (255 - f) * v) / 255;
    switch (sector) {
    case 0:
        return pack(hsva, v, t, p);
    case 1:
        return pack(hsva, q, v, p);
    case 2:
        return pack(hsva, p, v, t);
    case 3:
        return pack(hsva, p, q, v);
    case 4:
        return pack(hsva, t, p, v);
    default:
        return pack(hsva, v, p, q);
    }
}
