#include "gdi/PolygonFill.h"

namespace PolygonFill {

std::vector<Pending> EdgesOf(const POINT* points, int count, int top, int bottom) {
    std::vector<Pending> pending;
    pending.reserve(static_cast<std::size_t>(count));
    std::vector<int> perRow(static_cast<std::size_t>(bottom - top) + 1, 0); // edges by the first row they reach
    for (int i = 0; i < count; ++i) {
        const POINT& a = points[(i + count - 1) % count];
        const POINT& b = points[i];
        if (a.y == b.y)
            continue;
        const POINT& t = a.y < b.y ? a : b;
        const POINT& u = a.y < b.y ? b : a;
        if (u.y <= top || t.y >= bottom)
            continue;
        pending.push_back({t.x, t.y, u.y, u.x - t.x, a.y < b.y ? 1 : -1});
        ++perRow[static_cast<std::size_t>(std::max(t.y, top) - top) + 1];
    }
    // A counting sort by first row: rows are few beside the edges of a long lasso.
    for (std::size_t row = 1; row < perRow.size(); ++row)
        perRow[row] += perRow[row - 1];
    std::vector<Pending> sorted(pending.size());
    for (const Pending& edge : pending)
        sorted[static_cast<std::size_t>(perRow[static_cast<std::size_t>(std::max(edge.topY, top) - top)]++)] = edge;
    return sorted;
}

namespace {

// floor(n / d) and its remainder in [0, d), for d > 0.
void divide(long long n, long long d, long long& quotient, long long& remainder) {
    quotient = n / d;
    remainder = n % d;
    if (remainder < 0) {
        remainder += d;
        --quotient;
    }
}

} // namespace

Edge Start(const Pending& pending, long row) {
    const long long height = static_cast<long long>(pending.bottomY) - pending.topY;
    // ceil(dx * (row - top) / height) = floor((dx * (row - top) + height - 1) / height)
    long long q = 0;
    long long r = 0;
    divide(static_cast<long long>(pending.dx) * (row - pending.topY) + height - 1, height, q, r);
    long long stepQ = 0;
    long long stepR = 0;
    divide(pending.dx, height, stepQ, stepR);
    return {static_cast<std::int32_t>(pending.topX + q),
            static_cast<std::int32_t>(r),
            static_cast<std::int32_t>(stepQ),
            static_cast<std::int32_t>(stepR),
            static_cast<std::int32_t>(height),
            pending.bottomY,
            pending.direction};
}

} // namespace PolygonFill
