// ExtFloodFill: the 4-connected area around a pixel, of pixels other than a border value or equal to a surface
// value (raw values: table indices on 1- and 8-bit bitmaps), is found whole first and then painted with the
// brush, so the brush's colour cannot change the search.

#include "gdi/GdiObjects.h"
#include "gdi/Painter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

struct Span {
    int y;
    int x0;
    int x1; // exclusive
};

// The raw value of pixel x of a row, for each depth (32-bit pixels without their top byte).
struct Read1 {
    DWORD operator()(const BYTE* row, int x) const { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
};
struct Read8 {
    DWORD operator()(const BYTE* row, int x) const { return row[x]; }
};
struct Read24 {
    DWORD operator()(const BYTE* row, int x) const {
        return DWORD{row[3 * x + 2]} << 16 | DWORD{row[3 * x + 1]} << 8 | row[3 * x];
    }
};
struct Read32 {
    DWORD operator()(const BYTE* row, int x) const {
        DWORD value;
        std::memcpy(&value, row + 4 * x, 4);
        return value & 0xFFFFFF;
    }
};

template <class Read>
class AreaSearch {
public:
    AreaSearch(const GdiBitmap& bitmap, DWORD value, bool surface)
        : m_bitmap(bitmap), m_value(value), m_surface(surface), m_words((bitmap.width + 63) / 64),
          m_seen(static_cast<std::size_t>(m_words) * bitmap.height, 0) {}

    bool belongs(const BYTE* row, int x) const { return (Read()(row, x) == m_value) == m_surface; }

    // Every span of the area, from a start pixel that belongs to it.
    std::vector<Span> run(int x, int y) {
        std::vector<Span> spans;
        std::vector<Span> pending{{y, x, x + 1}};
        while (!pending.empty()) {
            const Span seed = pending.back();
            pending.pop_back();
            const BYTE* row = m_bitmap.row(seed.y);
            std::uint64_t* seen = &m_seen[static_cast<std::size_t>(seed.y) * m_words];
            // Each unseen pixel of the area under the seed starts a whole span of its row.
            for (int sx = seed.x0; sx < seed.x1; ++sx) {
                if (isSeen(seen, sx)) {
                    sx = nextUnseen(seen, sx) - 1;
                    continue;
                }
                if (!belongs(row, sx))
                    continue;
                const Span found = extend(row, seen, sx, seed.y);
                spans.push_back(found);
                if (found.y > 0)
                    pending.push_back({found.y - 1, found.x0, found.x1});
                if (found.y + 1 < m_bitmap.height)
                    pending.push_back({found.y + 1, found.x0, found.x1});
                sx = found.x1;
            }
        }
        return spans;
    }

private:
    static bool isSeen(const std::uint64_t* seen, int x) { return (seen[x >> 6] >> (x & 63) & 1) != 0; }

    // The first pixel from x on that is not seen (the row's width or more when there is none).
    int nextUnseen(const std::uint64_t* seen, int x) const {
        int word = x >> 6;
        std::uint64_t unseen = ~seen[word] >> (x & 63) << (x & 63);
        while (unseen == 0 && ++word < m_words)
            unseen = ~seen[word];
        return word < m_words ? word * 64 + __builtin_ctzll(unseen) : m_words * 64;
    }

    static void markSeen(std::uint64_t* seen, int x0, int x1) {
        for (int word = x0 >> 6; word <= (x1 - 1) >> 6; ++word) {
            const int from = std::max(x0 - word * 64, 0);
            const int to = std::min(x1 - word * 64, 64);
            const std::uint64_t bits =
                to - from == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << (to - from)) - 1) << from;
            seen[word] |= bits;
        }
    }

    // The run of area pixels through (x, y), marked seen. Runs are always found whole, so a run's neighbours
    // in its row are never area pixels seen before.
    Span extend(const BYTE* row, std::uint64_t* seen, int x, int y) const {
        int x0 = x;
        while (x0 > 0 && belongs(row, x0 - 1))
            --x0;
        int x1 = x + 1;
        while (x1 < m_bitmap.width && belongs(row, x1))
            ++x1;
        markSeen(seen, x0, x1);
        return {y, x0, x1};
    }

    const GdiBitmap& m_bitmap;
    DWORD m_value;
    bool m_surface;
    int m_words; // per row
    std::vector<std::uint64_t> m_seen;
};

template <class Read>
std::optional<std::vector<Span>> findArea(const GdiBitmap& bitmap, int x, int y, DWORD value, bool surface) {
    AreaSearch<Read> search(bitmap, value, surface);
    if (!search.belongs(bitmap.row(y), x))
        return std::nullopt;
    return search.run(x, y);
}

} // namespace

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF colour, UINT type) {
    if (hdc == nullptr || hdc->selected == nullptr || (type != FLOODFILLBORDER && type != FLOODFILLSURFACE))
        return FALSE;
    const GdiBitmap& bitmap = *hdc->selected;
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height)
        return FALSE;
    const DWORD value = bitmap.rawFor(Painter::Rgb(colour));
    const bool surface = type == FLOODFILLSURFACE;
    const std::optional<std::vector<Span>> spans =
        bitmap.bitCount == 1    ? findArea<Read1>(bitmap, x, y, value, surface)
        : bitmap.bitCount == 8  ? findArea<Read8>(bitmap, x, y, value, surface)
        : bitmap.bitCount == 24 ? findArea<Read24>(bitmap, x, y, value, surface)
                                : findArea<Read32>(bitmap, x, y, value, surface);
    if (!spans)
        return FALSE;
    if (const std::optional<Painter> brush = BrushPainter(hdc, hdc->brush))
        for (const Span& span : *spans)
            brush->span(span.y, span.x0, span.x1);
    return TRUE;
}
