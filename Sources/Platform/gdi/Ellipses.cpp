// Ellipse: GDI's integer ellipse (the stepping of Zingl's algorithm). The brush fills one span per row, the pen
// draws the outline points; boxes 2 pixels or less across are drawn as rectangles.

#include "gdi/GdiObjects.h"
#include "gdi/Painter.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The error terms of the stepping for a box of W x H pixels.
class EllipseSteps {
public:
    EllipseSteps(long width, long height) {
        const long long a = width - 1;
        const long long b = height - 1;
        const long long p = b % 2;
        m_a8 = 8 * a * a;
        m_b8 = 8 * b * b;
        m_ex = 4 * b * b * (1 - a);
        m_ey = 4 * a * a * (1 + p);
        m_e = m_ex + m_ey + a * a * p;
    }
    // One step: `xStep` and then `yStep` run when the error calls for them.
    template <class XStep, class YStep>
    void step(XStep xStep, YStep yStep) {
        const long long t = 2 * m_e;
        const long long ex = m_ex;
        const long long ey = m_ey;
        if (t >= ex) {
            xStep();
            m_ex += m_b8;
            m_e += m_ex;
        }
        if (t <= ey) {
            yStep();
            m_ey += m_a8;
            m_e += m_ey;
        }
    }

private:
    long long m_a8, m_b8, m_ex, m_ey, m_e;
};

// The inset of each row's span from both sides: [inset, W - inset). Rows the stepping never reaches (tall thin
// boxes), and rows whose span came out empty, get the centre column (two for an even width).
std::vector<long> rowInsets(long width, long height) {
    const long centre = (width - 1) / 2;
    std::vector<long> insets(static_cast<std::size_t>(height), -1);
    long s = 0;
    long y = height / 2;
    insets[static_cast<std::size_t>(y)] = 0;
    EllipseSteps steps(width, height);
    while (s <= width / 2)
        steps.step([&] { ++s; },
                   [&] {
                       if (++y < height)
                           insets[static_cast<std::size_t>(y)] = s;
                   });
    for (long row = height / 2; row < height; ++row) {
        long& inset = insets[static_cast<std::size_t>(row)];
        if (inset < 0 || inset >= width - inset)
            inset = centre;
    }
    for (long row = 0; row < height / 2; ++row)
        insets[static_cast<std::size_t>(row)] = insets[static_cast<std::size_t>(height - 1 - row)];
    return insets;
}

// The outline's pixels in the first quadrant's stepping, mirrored four ways, each once.
std::vector<std::pair<long, long>> outlinePoints(long width, long height) {
    std::vector<std::pair<long, long>> points;
    long x = width - 1;
    long y = height / 2;
    EllipseSteps steps(width, height);
    while (x >= width / 2 && y < height) {
        for (const long px : {x, width - 1 - x})
            for (const long py : {y, height - 1 - y})
                points.emplace_back(px, py);
        steps.step([&] { --x; }, [&] { ++y; });
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

} // namespace

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    if (hdc == nullptr || hdc->selected == nullptr)
        return FALSE;
    const long l = std::min(left, right);
    const long t = std::min(top, bottom);
    const long width = std::abs(static_cast<long>(right) - left);
    const long height = std::abs(static_cast<long>(bottom) - top);
    if (width == 0 || height == 0)
        return TRUE;
    if (width <= 2 || height <= 2)
        return Rectangle(hdc, left, top, right, bottom);
    if (const std::optional<Painter> brush = BrushPainter(hdc, hdc->brush)) {
        const std::vector<long> insets = rowInsets(width, height);
        for (long row = 0; row < height; ++row) {
            const long inset = insets[static_cast<std::size_t>(row)];
            brush->span(static_cast<int>(t + row), static_cast<int>(l + inset), static_cast<int>(l + width - inset));
        }
    }
    if (const std::optional<Painter> pen = PenPainter(hdc))
        for (const auto& [x, y] : outlinePoints(width, height))
            pen->pixel(static_cast<int>(l + x), static_cast<int>(t + y));
    return TRUE;
}
