#include "gdi/PolygonFill.h"

#include <algorithm>
#include <vector>

namespace {

// One edge, from its upper end T to its lower end B, with its crossing of the current row kept as the exact
// ceiling of T.x + (B.x - T.x)(y - T.y) / (B.y - T.y) by a quotient and a remainder stepped row by row.
struct Edge {
    long top;
    long bottom;
    int direction; // +1 when the polygon runs down along it
    long x;        // the crossing on the current row
    long remainder;
    long stepX; // floor((B.x - T.x) / height)
    long stepRemainder;
    long height;

    void start(long topX, long dx, long row) {
        // ceil(dx * (row - top) / height) = floor((dx * (row - top) + height - 1) / height)
        const long long n = static_cast<long long>(dx) * (row - top) + height - 1;
        long long q = n / height;
        long long r = n % height;
        if (r < 0) {
            r += height;
            --q;
        }
        x = topX + static_cast<long>(q);
        remainder = static_cast<long>(r);
        stepX = dx / height;
        stepRemainder = dx % height;
        if (stepRemainder < 0) {
            stepRemainder += height;
            --stepX;
        }
    }
    void step() {
        x += stepX;
        remainder += stepRemainder;
        if (remainder >= height) {
            remainder -= height;
            ++x;
        }
    }
};

} // namespace

void ScanPolygon(const POINT* points, int count, bool winding, int top, int bottom,
                 const std::function<void(int y, int x0, int x1)>& span) {
    struct Pending {
        long topX, topY, bottomY, dx;
        int direction;
    };
    std::vector<Pending> pending;
    pending.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const POINT& a = points[(i + count - 1) % count];
        const POINT& b = points[i];
        if (a.y == b.y)
            continue;
        const POINT& t = a.y < b.y ? a : b;
        const POINT& u = a.y < b.y ? b : a;
        if (u.y <= top || t.y >= bottom)
            continue;
        pending.push_back({t.x, t.y, u.y, static_cast<long>(u.x) - t.x, a.y < b.y ? 1 : -1});
    }
    std::sort(pending.begin(), pending.end(), [](const Pending& p, const Pending& q) { return p.topY < q.topY; });
    if (pending.empty())
        return;
    std::vector<Edge> active;
    std::size_t next = 0;
    long y = std::max<long>(top, pending.front().topY);
    for (; y < bottom && (next < pending.size() || !active.empty()); ++y) {
        while (next < pending.size() && pending[next].topY <= y) {
            const Pending& p = pending[next++];
            Edge edge{p.topY, p.bottomY, p.direction, 0, 0, 0, 0, p.bottomY - p.topY};
            edge.start(p.topX, p.dx, y);
            active.push_back(edge);
        }
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge& e) { return e.bottom <= y; }),
                     active.end());
        // The order of the crossings changes little from row to row: insertion sort keeps it.
        for (std::size_t i = 1; i < active.size(); ++i)
            for (std::size_t j = i; j > 0 && active[j].x < active[j - 1].x; --j)
                std::swap(active[j], active[j - 1]);
        int sum = 0;
        for (std::size_t k = 0; k + 1 < active.size(); ++k) {
            sum += winding ? active[k].direction : 1;
            const bool in = winding ? sum != 0 : (sum & 1) != 0;
            if (in && active[k].x < active[k + 1].x)
                span(static_cast<int>(y), static_cast<int>(active[k].x), static_cast<int>(active[k + 1].x));
        }
        for (Edge& edge : active)
            edge.step();
    }
}
