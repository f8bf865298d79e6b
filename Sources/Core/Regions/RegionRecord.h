#pragma once
// The storage behind GRegion: one block from the memory pool holding the record, its bands and its x
// coordinates. Bands are sorted by y; band i covers the rows from its y to the next band's y, and its x list
// (ascending) is pairs [x0, x1), [x2, x3) ... of covered columns. The last band's list is empty (it marks the
// bottom edge); an empty list between others is a gap. A sentinel band after the last one ends the x lists.

#include "gdi/WinGdi.h"

#include <atomic>
#include <cstdint>

struct RegionBand {
    std::int32_t y;
    std::int32_t firstX; // index of the band's first x in the record's x list
};

struct RegionRecord {
    std::atomic<int> users{1};
    int bandCount = 0; // bands, the bottom edge included
    int xCount = 0;
    RECT bounds{0, 0, 0, 0};
    HRGN handle = nullptr; // made on demand, owned here

    RegionBand* bands() { return reinterpret_cast<RegionBand*>(this + 1); }
    const RegionBand* bands() const { return reinterpret_cast<const RegionBand*>(this + 1); }
    std::int32_t* xs() { return reinterpret_cast<std::int32_t*>(bands() + bandCount + 1); }
    const std::int32_t* xs() const { return reinterpret_cast<const std::int32_t*>(bands() + bandCount + 1); }

    // A record with room for the bands (and their sentinel) and the x coordinates, one user.
    static RegionRecord* create(int bandCount, int xCount);
    // Frees the record and its handle.
    static void destroy(RegionRecord* record);
    // A private copy with one user (no handle).
    RegionRecord* copy() const;
    // Forgets the handle (the bands are about to change).
    void dropHandle();
    // The bounding rectangle from the bands.
    void computeBounds();
};

// A read-only look at a band list: a record's, a rectangle's, or none.
struct BandView {
    const RegionBand* bands = nullptr;
    int count = 0; // bands without the sentinel
    const std::int32_t* xs = nullptr;

    BandView() = default;
    explicit BandView(const RegionRecord* record)
        : bands(record != nullptr ? record->bands() : nullptr), count(record != nullptr ? record->bandCount : 0),
          xs(record != nullptr ? record->xs() : nullptr) {}

    std::int32_t y(int i) const { return bands[i].y; }
    const std::int32_t* list(int i) const { return xs + bands[i].firstX; }
    int length(int i) const { return bands[i + 1].firstX - bands[i].firstX; }
    // The band covering row y, or -1 when the row lies outside every band (the bottom edge included).
    int bandAt(std::int32_t row) const;
};

// A rectangle as a band list, without allocating: a band at the top with (left, right) and the bottom edge.
struct RectBands {
    RegionBand bands[3];
    std::int32_t xs[2];

    explicit RectBands(const RECT& r)
        : bands{{r.top, 0}, {r.bottom, 2}, {0, 2}}, xs{r.left, r.right}, empty(r.left >= r.right || r.top >= r.bottom) {
    }
    BandView view() const {
        BandView v;
        if (!empty) {
            v.bands = bands;
            v.count = 2;
            v.xs = xs;
        }
        return v;
    }

private:
    bool empty;
};
