#include "Regions/GRegion.h"

#include "Errors/GException.h"
#include "Regions/RegionBuilder.h"
#include "Regions/RegionCombine.h"
#include "Regions/RegionRecord.h"
#include "win/Saturated.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <utility>
#include <vector>

namespace {

void release(RegionRecord* record) {
    if (record != nullptr && record->users.fetch_sub(1, std::memory_order_acq_rel) == 1)
        RegionRecord::destroy(record);
}

// Calls put(k, start, end) for the k-th interval [x0, xe) of the band that meets [x1, x2] (x0 <= x2 and
// x1 < xe, with x1 <= x2), clipped to max(x0, x1) .. min(xe, x2); returns how many there were.
template <class Put>
int spansMeeting(const BandView& view, int band, int x1, int x2, Put put) {
    const std::int32_t* xs = view.list(band);
    const int n = view.length(band);
    int count = 0;
    // The first interval ending after x1 starts at the even index at or below the first x above x1.
    for (int k = static_cast<int>(std::upper_bound(xs, xs + n, x1) - xs) & ~1; k < n && xs[k] <= x2; k += 2)
        put(count++, std::max(xs[k], x1), std::min(xs[k + 1], x2));
    return count;
}

} // namespace

// Rectangles in the y-x banded order (sorted by top, then left; the rectangles of a band share top and bottom
// and neither overlap nor touch) become bands directly. Returns null with `banded` false when they are not in
// that order, and raises "Overlapped rectangles!" when `strict` and one starts inside the one before it.
RegionRecord* GRegion::fromBanded(const std::vector<RECT>& rects, bool strict, bool& banded) {
    banded = false;
    RegionBuilder builder;
    std::int32_t bottom = 0;
    for (std::size_t start = 0; start < rects.size();) {
        const RECT& first = rects[start];
        std::size_t end = start + 1;
        while (end < rects.size() && rects[end].top == first.top && rects[end].bottom == first.bottom)
            ++end;
        if (builder.hasBands() && first.top < bottom)
            return nullptr;
        if (builder.hasBands() && first.top > bottom)
            builder.addBand(bottom, 0); // a gap
        std::int32_t* xs = builder.reserve(static_cast<int>(2 * (end - start)));
        for (std::size_t k = start; k < end; ++k) {
            const RECT& r = rects[k];
            if (r.left >= r.right || r.top >= r.bottom)
                return nullptr;
            if (k > start && r.left <= rects[k - 1].right) {
                if (strict && r.left >= rects[k - 1].left && r.left < rects[k - 1].right)
                    throw new GLibraryException("Overlapped rectangles!");
                return nullptr; // touching or out of order: united one by one instead
            }
            xs[2 * (k - start)] = r.left;
            xs[2 * (k - start) + 1] = r.right;
        }
        builder.addBand(first.top, static_cast<int>(2 * (end - start)));
        bottom = first.bottom;
        start = end;
    }
    if (builder.hasBands())
        builder.addBand(bottom, 0);
    banded = true;
    return builder.finish();
}

// The union of rects[from, to), halves first: each rectangle takes part in about log n unions instead of n, and
// the band list comes out the same as uniting them one by one (a union keeps every operand's band starts).
std::optional<GRegion> GRegion::unitedHalves(const std::vector<RECT>& rects, std::size_t from, std::size_t to,
                                             std::size_t maxXs) {
    if (to - from == 1)
        return GRegion(rects[from]);
    const std::size_t middle = from + (to - from) / 2;
    const std::optional<GRegion> first = unitedHalves(rects, from, middle, maxXs);
    if (!first)
        return std::nullopt;
    const std::optional<GRegion> second = unitedHalves(rects, middle, to, maxXs);
    if (!second)
        return std::nullopt;
    bool exceeded = false;
    RegionRecord* record =
        combineBandsWithin(BandView(first->m_record), BandView(second->m_record), RegionOp::Union, maxXs, exceeded);
    if (exceeded)
        return std::nullopt;
    return adopt(record);
}

GRegion GRegion::united(const std::vector<RECT>& rects) {
    return *united(rects, SIZE_MAX / 2);
}

std::optional<GRegion> GRegion::united(const std::vector<RECT>& rects, std::size_t maxRectangles) {
    bool banded = false;
    RegionRecord* record = fromBanded(rects, false, banded);
    if (banded)
        return adopt(record);
    return rects.empty() ? GRegion() : unitedHalves(rects, 0, rects.size(), 2 * maxRectangles);
}

std::vector<RECT> GRegion::rectangles() const {
    std::vector<RECT> rects;
    rects.reserve(static_cast<std::size_t>(rectangleCount()));
    enumerate(
        [](const RECT& r, void* context) {
            static_cast<std::vector<RECT>*>(context)->push_back(r);
            return true;
        },
        &rects);
    return rects;
}

GRegion GRegion::adopt(RegionRecord* record) {
    GRegion region;
    region.m_record = record;
    return region;
}

GRegion::GRegion(const RECT& rect) : m_record(combineBands(RectBands(rect).view(), BandView(), RegionOp::Union)) {}

GRegion::GRegion(HRGN region) {
    assignFrom(region);
}

GRegion::GRegion(const GRegion& other) : m_record(other.m_record) {
    if (m_record != nullptr)
        m_record->users.fetch_add(1, std::memory_order_relaxed);
}

GRegion::GRegion(GRegion&& other) noexcept : m_record(std::exchange(other.m_record, nullptr)) {}

GRegion::~GRegion() {
    release(m_record);
}

GRegion& GRegion::operator=(const GRegion& other) {
    GRegion copy(other);
    std::swap(m_record, copy.m_record);
    return *this;
}

GRegion& GRegion::operator=(GRegion&& other) noexcept {
    std::swap(m_record, other.m_record);
    return *this;
}

GRegion& GRegion::operator=(const RECT& rect) {
    return *this = GRegion(rect);
}

GRegion& GRegion::operator=(HRGN region) {
    assignFrom(region);
    return *this;
}

void GRegion::assignFrom(HRGN region) {
    std::vector<RECT> rects;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size > sizeof(RGNDATAHEADER)) {
        std::vector<char> data(size);
        auto* header = reinterpret_cast<RGNDATA*>(data.data());
        GetRegionData(region, size, header);
        rects.resize(header->rdh.nCount);
        std::memcpy(rects.data(), header->Buffer, rects.size() * sizeof(RECT));
    }
    bool banded = false;
    RegionRecord* record = fromBanded(rects, true, banded);
    if (banded)
        release(std::exchange(m_record, record));
    else
        *this = united(rects);
}

void GRegion::clear() {
    release(std::exchange(m_record, nullptr));
}

RegionRecord* GRegion::own() {
    if (m_record->users.load(std::memory_order_acquire) > 1) {
        RegionRecord* mine = m_record->copy();
        release(std::exchange(m_record, mine));
    }
    m_record->dropHandle();
    return m_record;
}

// Queries

bool GRegion::contains(int x, int y) const {
    const BandView view(m_record);
    const int band = view.bandAt(y);
    if (band < 0)
        return false;
    const std::int32_t* first = view.list(band);
    const std::int32_t* last = first + view.length(band);
    return ((std::upper_bound(first, last, x) - first) & 1) != 0;
}

bool GRegion::contains(const RECT& rect) const {
    const RectBands bands(rect);
    return m_record != nullptr && bands.view().count != 0 &&
           !combinesToAny(bands.view(), BandView(m_record), RegionOp::Difference);
}

bool GRegion::contains(const GRegion& other) const {
    if (m_record == nullptr || other.m_record == nullptr)
        return false;
    return other.m_record == m_record ||
           !combinesToAny(BandView(other.m_record), BandView(m_record), RegionOp::Difference);
}

bool GRegion::hasCommonParts(const RECT& rect) const {
    return combinesToAny(BandView(m_record), RectBands(rect).view(), RegionOp::Intersection);
}

bool GRegion::hasCommonParts(const GRegion& other) const {
    if (m_record == nullptr || other.m_record == nullptr)
        return false;
    return other.m_record == m_record ||
           combinesToAny(BandView(m_record), BandView(other.m_record), RegionOp::Intersection);
}

RECT GRegion::bounding_rect() const {
    return m_record != nullptr ? m_record->bounds : RECT{0, 0, 0, 0};
}

void GRegion::enumerate(EnumerateCallback callback, void* context) const {
    const BandView view(m_record);
    for (int i = 0; i + 1 < view.count; ++i) {
        const std::int32_t* xs = view.list(i);
        for (int k = 0; k < view.length(i); k += 2)
            if (!callback(RECT{xs[k], view.y(i), xs[k + 1], view.y(i + 1)}, context))
                return;
    }
}

int GRegion::rectangleCount() const {
    return m_record != nullptr ? m_record->xCount / 2 : 0;
}

bool GRegion::operator==(const GRegion& other) const {
    const RegionRecord* a = m_record;
    const RegionRecord* b = other.m_record;
    if (a == b)
        return true;
    if (a == nullptr || b == nullptr || a->bandCount != b->bandCount || a->xCount != b->xCount)
        return false;
    return std::memcmp(a->bands(), b->bands(), sizeof(RegionBand) * static_cast<std::size_t>(a->bandCount)) == 0 &&
           std::memcmp(a->xs(), b->xs(), sizeof(std::int32_t) * static_cast<std::size_t>(a->xCount)) == 0;
}

int GRegion::clip_hline(int x1, int y, int x2, int* out) const {
    if (x1 > x2)
        std::swap(x1, x2);
    const BandView view(m_record);
    const int band = view.bandAt(y);
    if (band < 0)
        return 0;
    return spansMeeting(view, band, x1, x2, [&](int k, int start, int end) {
        out[2 * k] = start;
        out[2 * k + 1] = end;
    });
}

int GRegion::clip_box(int x1, int y1, int x2, int y2, int* out) const {
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const BandView view(m_record);
    if (view.count == 0 || y1 >= view.y(view.count - 1))
        return 0;
    int count = 0;
    for (int i = std::max(view.bandAt(y1), 0); i + 1 < view.count && view.y(i) <= y2; ++i) {
        if (y1 >= view.y(i + 1))
            continue;
        const int top = std::max(view.y(i), y1), bottom = std::min(view.y(i + 1), y2);
        count += spansMeeting(view, i, x1, x2, [&](int k, int start, int end) {
            int* quad = out + 4 * (count + k);
            quad[0] = start;
            quad[1] = top;
            quad[2] = end;
            quad[3] = bottom;
        });
    }
    return count;
}

HRGN GRegion::getHandle() const {
    if (m_record == nullptr)
        return nullptr;
    if (m_record->handle == nullptr) {
        const std::vector<RECT> rects = rectangles();
        std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATA*>(data.data());
        header->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                       static_cast<DWORD>(rects.size() * sizeof(RECT)), m_record->bounds};
        std::memcpy(header->Buffer, rects.data(), rects.size() * sizeof(RECT));
        m_record->handle = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), header);
    }
    return m_record->handle;
}

// Changes

GRegion& GRegion::combineWith(const BandView& other, RegionOp op) {
    RegionRecord* result = combineBands(BandView(m_record), other, op);
    release(std::exchange(m_record, result));
    return *this;
}

GRegion& GRegion::operator|=(const GRegion& other) {
    return combineWith(BandView(other.m_record), RegionOp::Union);
}
GRegion& GRegion::operator|=(const RECT& rect) {
    return combineWith(RectBands(rect).view(), RegionOp::Union);
}
GRegion& GRegion::operator&=(const GRegion& other) {
    return combineWith(BandView(other.m_record), RegionOp::Intersection);
}
GRegion& GRegion::operator&=(const RECT& rect) {
    return combineWith(RectBands(rect).view(), RegionOp::Intersection);
}
GRegion& GRegion::operator-=(const GRegion& other) {
    return combineWith(BandView(other.m_record), RegionOp::Difference);
}
GRegion& GRegion::operator-=(const RECT& rect) {
    return combineWith(RectBands(rect).view(), RegionOp::Difference);
}
GRegion& GRegion::operator^=(const GRegion& other) {
    return combineWith(BandView(other.m_record), RegionOp::SymmetricDifference);
}
GRegion& GRegion::operator^=(const RECT& rect) {
    return combineWith(RectBands(rect).view(), RegionOp::SymmetricDifference);
}

GRegion& GRegion::translate(long long dx, long long dy) {
    if (m_record == nullptr || (dx == 0 && dy == 0))
        return *this;
    const RECT b = m_record->bounds;
    const auto fits = [](long long v) {
        return v >= INT32_MIN && v <= INT32_MAX;
    };
    if (!fits(b.left + dx) || !fits(b.right + dx) || !fits(b.top + dy) || !fits(b.bottom + dy)) {
        *this &= RECT{SaturatedLong(INT32_MIN - dx), SaturatedLong(INT32_MIN - dy), SaturatedLong(INT32_MAX - dx),
                      SaturatedLong(INT32_MAX - dy)};
        if (m_record == nullptr)
            return *this;
    }
    RegionRecord* record = own();
    RegionBand* bands = record->bands();
    for (int i = 0; i < record->bandCount; ++i)
        bands[i].y = static_cast<std::int32_t>(bands[i].y + dy);
    std::int32_t* xs = record->xs();
    for (int k = 0; k < record->xCount; ++k)
        xs[k] = static_cast<std::int32_t>(xs[k] + dx);
    const RECT& moved = record->bounds;
    record->bounds = {static_cast<LONG>(moved.left + dx), static_cast<LONG>(moved.top + dy),
                      static_cast<LONG>(moved.right + dx), static_cast<LONG>(moved.bottom + dy)};
    return *this;
}

namespace {

// Moves v away from the middle by d (towards it for a negative d), held within 32 bits; `held` is set when it
// had to be.
std::int32_t movedOut(std::int32_t v, std::int32_t middle, long long d, bool& held) {
    const long long moved = static_cast<long long>(v) + (v < middle ? -d : d);
    const long long clamped = std::clamp<long long>(moved, INT32_MIN, INT32_MAX);
    held = held || clamped != moved;
    return static_cast<std::int32_t>(clamped);
}

std::int32_t middleOf(std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(low + (static_cast<long long>(high) - low) / 2);
}

} // namespace

void GRegion::inflate(const POINT& d) {
    if (m_record == nullptr || (d.x == 0 && d.y == 0))
        return;
    const RECT b = m_record->bounds;
    const std::int32_t middleY = middleOf(b.top, b.bottom), middleX = middleOf(b.left, b.right);
    RegionRecord* record = own();
    bool held = false;
    RegionBand* bands = record->bands();
    for (int i = 0; i < record->bandCount; ++i)
        bands[i].y = movedOut(bands[i].y, middleY, d.y, held);
    std::int32_t* xs = record->xs();
    for (int k = 0; k < record->xCount; ++k)
        xs[k] = movedOut(xs[k], middleX, d.x, held);
    if (d.x >= 0 && d.y >= 0 && !held) { // growing keeps every order
        record->computeBounds();
        return;
    }
    // Shrinking may turn spans or bands over, and coordinates held at the 32-bit limits may meet: what is still
    // the right way round is united afresh.
    std::vector<RECT> kept;
    const BandView view(record);
    for (int i = 0; i + 1 < view.count; ++i)
        for (int k = 0; k < view.length(i); k += 2)
            kept.push_back({view.list(i)[k], view.y(i), view.list(i)[k + 1], view.y(i + 1)});
    *this = united(kept);
}
