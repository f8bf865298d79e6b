#pragma once
// The pixels a polygon's inside covers, row by row (GDI's scan conversion): pixel (x, y) is inside when its top
// left corner is, a corner on a left or top edge counting as inside and one on a right or bottom edge not. Edges
// of equal end rows are left out; the closing edge is included.

#include "win/Win32Types.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace PolygonFill {

// One edge, from its upper end T to its lower end B, with its crossing of the current row kept as the exact
// ceiling of T.x + (B.x - T.x)(y - T.y) / (B.y - T.y) by a quotient and a remainder stepped row by row.
struct Edge {
    std::int32_t x;
    std::int32_t remainder;
    std::int32_t stepX; // floor((B.x - T.x) / height)
    std::int32_t stepRemainder;
    std::int32_t height;
    std::int32_t bottom;
    std::int32_t direction; // +1 when the polygon runs down along it

    void step() {
        x += stepX;
        remainder += stepRemainder;
        if (remainder >= height) {
            remainder -= height;
            ++x;
        }
    }
};

// An edge waiting for its first row.
struct Pending {
    std::int32_t topX, topY, bottomY, dx, direction;
};

// The edges of the polygon that reach rows top to bottom - 1, in the order of the first of those rows they reach.
std::vector<Pending> EdgesOf(const POINT* points, int count, int top, int bottom);
// The edge started on `row` (at or below its top).
Edge Start(const Pending& pending, long row);

} // namespace PolygonFill

// Calls `span(y, x0, x1)` for each run [x0, x1) of inside pixels on rows top to bottom - 1 (the rows wanted).
// `winding`: the non-zero rule instead of the even-odd one.
template <class Span>
void ScanPolygon(const POINT* points, int count, bool winding, int top, int bottom, Span span) {
    using namespace PolygonFill;
    const std::vector<Pending> pending = EdgesOf(points, count, top, bottom);
    if (pending.empty())
        return;
    // The edges stay where they are; the active ones are kept in crossing order as small keys.
    struct Key {
        std::int32_t x;
        std::int32_t edge;
    };
    std::vector<Edge> edges(pending.size());
    std::vector<Key> active;
    std::size_t next = 0;
    for (long y = std::max<long>(top, pending.front().topY); y < bottom && (next < pending.size() || !active.empty());
         ++y) {
        for (; next < pending.size() && std::max<long>(pending[next].topY, top) <= y; ++next) {
            edges[next] = Start(pending[next], y);
            active.push_back({edges[next].x, static_cast<std::int32_t>(next)});
        }
        // The order of the crossings changes little from row to row: insertion sort keeps it.
        for (std::size_t i = 1; i < active.size(); ++i) {
            const Key key = active[i];
            std::size_t j = i;
            for (; j > 0 && key.x < active[j - 1].x; --j)
                active[j] = active[j - 1];
            active[j] = key;
        }
        int sum = 0;
        for (std::size_t k = 0; k + 1 < active.size(); ++k) {
            sum += winding ? edges[static_cast<std::size_t>(active[k].edge)].direction : 1;
            const bool in = winding ? sum != 0 : (sum & 1) != 0;
            if (in && active[k].x < active[k + 1].x)
                span(static_cast<int>(y), active[k].x, active[k + 1].x);
        }
        // Step on, dropping the edges that end here.
        std::size_t kept = 0;
        for (const Key key : active) {
            Edge& edge = edges[static_cast<std::size_t>(key.edge)];
            if (edge.bottom > y + 1) {
                edge.step();
                active[kept++] = {edge.x, key.edge};
            }
        }
        active.resize(kept);
    }
}
