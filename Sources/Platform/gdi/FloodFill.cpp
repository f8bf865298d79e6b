// ExtFloodFill: the 4-connected area around a pixel, of pixels other than a border value or equal to a surface
// value (raw values: table indices on 1- and 8-bit bitmaps), is found whole first and then painted with the
// brush, so the brush's colour cannot change the search.

#include "gdi/GdiObjects.h"
#include "gdi/Painter.h"

#include <cstdint>
#include <vector>

namespace {

struct Span {
    int y;
    int x0;
    int x1; // exclusive
};

class AreaSearch {
public:
    AreaSearch(const GdiBitmap& bitmap, DWORD value, bool surface)
        : m_bitmap(bitmap), m_value(value), m_surface(surface), m_mask(bitmap.bitCount == 32 ? 0xFFFFFF : ~DWORD{0}),
          m_seen(static_cast<std::size_t>(bitmap.width) * bitmap.height / 64 + 1, 0) {}

    bool belongs(int x, int y) const { return ((m_bitmap.rawAt(x, y) & m_mask) == m_value) == m_surface; }

    // Every span of the area, from a start pixel that belongs to it.
    std::vector<Span> run(int x, int y) {
        std::vector<Span> spans;
        std::vector<Span> pending{{y, x, x + 1}};
        while (!pending.empty()) {
            const Span seed = pending.back();
            pending.pop_back();
            // The seed span is a run of candidates on one row: each unseen member pixel starts a full span.
            for (int sx = seed.x0; sx < seed.x1; ++sx) {
                if (seen(sx, seed.y) || !belongs(sx, seed.y))
                    continue;
                const Span found = extend(sx, seed.y);
                spans.push_back(found);
                for (const int row : {found.y - 1, found.y + 1})
                    if (row >= 0 && row < m_bitmap.height)
                        pending.push_back({row, found.x0, found.x1});
                sx = found.x1;
            }
        }
        return spans;
    }

private:
    bool seen(int x, int y) const {
        const std::size_t i = static_cast<std::size_t>(y) * m_bitmap.width + x;
        return (m_seen[i / 64] >> (i % 64) & 1) != 0;
    }
    void see(int x, int y) {
        const std::size_t i = static_cast<std::size_t>(y) * m_bitmap.width + x;
        m_seen[i / 64] |= std::uint64_t{1} << (i % 64);
    }
    // The run of area pixels through (x, y), marked seen.
    Span extend(int x, int y) {
        int x0 = x;
        while (x0 > 0 && !seen(x0 - 1, y) && belongs(x0 - 1, y))
            --x0;
        int x1 = x + 1;
        while (x1 < m_bitmap.width && !seen(x1, y) && belongs(x1, y))
            ++x1;
        for (int i = x0; i < x1; ++i)
            see(i, y);
        return {y, x0, x1};
    }

    const GdiBitmap& m_bitmap;
    DWORD m_value;
    bool m_surface;
    DWORD m_mask;
    std::vector<std::uint64_t> m_seen;
};

} // namespace

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF colour, UINT type) {
    if (hdc == nullptr || hdc->selected == nullptr || (type != FLOODFILLBORDER && type != FLOODFILLSURFACE))
        return FALSE;
    const GdiBitmap& bitmap = *hdc->selected;
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height)
        return FALSE;
    AreaSearch search(bitmap, bitmap.rawFor(Painter::Rgb(colour)), type == FLOODFILLSURFACE);
    if (!search.belongs(x, y))
        return FALSE;
    const std::vector<Span> spans = search.run(x, y);
    if (const std::optional<Painter> brush = BrushPainter(hdc, hdc->brush))
        for (const Span& span : spans)
            brush->span(span.y, span.x0, span.x1);
    return TRUE;
}
