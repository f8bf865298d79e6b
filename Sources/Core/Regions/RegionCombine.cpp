#include "Regions/RegionCombine.h"

#include "Regions/RegionBuilder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Merges two x lists into `out` (room for na + nb), returning the count written. With FirstOnly it stops at the
// first x and returns 1 (nothing is written then).
template <bool FirstOnly>
int mergeLists(const std::int32_t* a, int na, const std::int32_t* b, int nb, unsigned table, std::int32_t* out) {
    if (nb == 0 || na == 0) { // one list alone: taken whole or not at all
        const bool keep = ((table >> (nb == 0 ? 1 : 2)) & 1) != 0;
        const int n = keep ? (nb == 0 ? na : nb) : 0;
        if constexpr (!FirstOnly)
            if (n > 0)
                std::memcpy(out, nb == 0 ? a : b, sizeof(std::int32_t) * static_cast<std::size_t>(n));
        return FirstOnly ? (n > 0 ? 1 : 0) : n;
    }
    int i = 0, j = 0, written = 0;
    unsigned state = 0, inside = 0;
    while (i < na || j < nb) {
        const std::int32_t x = j >= nb || (i < na && a[i] <= b[j]) ? a[i] : b[j];
        if (i < na && a[i] == x) {
            state ^= 1;
            ++i;
        }
        if (j < nb && b[j] == x) {
            state ^= 2;
            ++j;
        }
        const unsigned now = (table >> state) & 1;
        if (now != inside) {
            if constexpr (FirstOnly)
                return 1;
            out[written++] = x;
            inside = now;
        }
    }
    return written;
}

// Calls visit(y, a's list, its length, b's list, its length) at every band start of either operand, top down,
// until visit returns false.
template <class Visit>
void walkBands(const BandView& a, const BandView& b, Visit visit) {
    int ia = 0, ib = 0, na = 0, nb = 0;
    const std::int32_t* la = nullptr;
    const std::int32_t* lb = nullptr;
    while (ia < a.count || ib < b.count) {
        const std::int32_t y = ib >= b.count || (ia < a.count && a.y(ia) <= b.y(ib)) ? a.y(ia) : b.y(ib);
        if (ia < a.count && a.y(ia) == y) {
            la = a.list(ia);
            na = a.length(ia++);
        }
        if (ib < b.count && b.y(ib) == y) {
            lb = b.list(ib);
            nb = b.length(ib++);
        }
        if (!visit(y, la, na, lb, nb))
            return;
    }
}

} // namespace

RegionRecord* combineBands(const BandView& a, const BandView& b, RegionOp op) {
    bool exceeded = false;
    return combineBandsWithin(a, b, op, SIZE_MAX, exceeded);
}

RegionRecord* combineBandsWithin(const BandView& a, const BandView& b, RegionOp op, std::size_t maxXs, bool& exceeded) {
    const auto table = static_cast<unsigned>(op);
    RegionBuilder builder;
    std::size_t xs = 0;
    exceeded = false;
    walkBands(a, b, [&](std::int32_t y, const std::int32_t* la, int na, const std::int32_t* lb, int nb) {
        const int n = mergeLists<false>(la, na, lb, nb, table, builder.reserve(na + nb));
        xs += static_cast<std::size_t>(n);
        exceeded = xs > maxXs;
        builder.addBand(y, n);
        return !exceeded;
    });
    return exceeded ? nullptr : builder.finish();
}

bool combinesToAny(const BandView& a, const BandView& b, RegionOp op) {
    const auto table = static_cast<unsigned>(op);
    bool any = false;
    walkBands(a, b, [&](std::int32_t, const std::int32_t* la, int na, const std::int32_t* lb, int nb) {
        any = mergeLists<true>(la, na, lb, nb, table, nullptr) != 0;
        return !any;
    });
    return any;
}
