#pragma once
// GRegion: a set of pixels with exact integer set algebra, fast point and span tests, conversion to and from GDI
// regions and a persistent form. It is held as horizontal bands (see RegionRecord.h) in a shared record: copies
// share it, and a change first makes the changed region's record its own (copy on write). The empty region has
// no record.
//
// Results keep a band boundary wherever an operand had one, so equal sets built in different ways may compare
// unequal; operator== compares band lists.

#include "gdi/WinGdi.h"

#include <iosfwd>
#include <optional>
#include <vector>

class ipstream;
class opstream;
struct RegionRecord;
struct BandView;
enum class RegionOp : unsigned;

class GRegion {
public:
    GRegion() = default;
    explicit GRegion(const RECT& rect);
    // The GDI region's rectangles; raises GLibraryException "Overlapped rectangles!" on rectangles that overlap.
    explicit GRegion(HRGN region);
    GRegion(const GRegion& other);
    GRegion(GRegion&& other) noexcept;
    ~GRegion();

    GRegion& operator=(const GRegion& other);
    GRegion& operator=(GRegion&& other) noexcept;
    GRegion& operator=(const RECT& rect);
    GRegion& operator=(HRGN region);

    bool isEmpty() const { return m_record == nullptr; }
    void clear();

    bool contains(int x, int y) const;
    bool contains(const POINT& p) const { return contains(p.x, p.y); }
    // The argument lies wholly inside; false when either is empty.
    bool contains(const RECT& rect) const;
    bool contains(const GRegion& other) const;
    bool hasCommonParts(const RECT& rect) const;
    bool hasCommonParts(const GRegion& other) const;
    // All zero for the empty region.
    RECT bounding_rect() const;

    // Calls callback(rect, context) for every covered interval of every band, top band first and left to
    // right; stops when the callback returns false.
    using EnumerateCallback = bool (*)(const RECT& rect, void* context);
    void enumerate(EnumerateCallback callback, void* context) const;
    // The number of rectangles enumerate gives.
    int rectangleCount() const;

    GRegion& operator|=(const GRegion& other);
    GRegion& operator|=(const RECT& rect);
    GRegion& operator+=(const GRegion& other) { return *this |= other; }
    GRegion& operator+=(const RECT& rect) { return *this |= rect; }
    GRegion& operator&=(const GRegion& other);
    GRegion& operator&=(const RECT& rect);
    GRegion& operator-=(const GRegion& other);
    GRegion& operator-=(const RECT& rect);
    GRegion& operator^=(const GRegion& other);
    GRegion& operator^=(const RECT& rect);

    // Translation. What would leave the 32-bit coordinate space is cut away; the rest moves exactly.
    GRegion& operator+=(const POINT& d) { return translate(d.x, d.y); }
    GRegion& operator-=(const POINT& d) {
        return translate(-static_cast<long long>(d.x), -static_cast<long long>(d.y));
    }

    // Moves bands above the middle row up by d.y and the others down, and x coordinates left of the middle
    // column left by d.x and the others right. A negative d that turns spans or bands over drops what it
    // turned over.
    void inflate(const POINT& d);

    bool operator==(const GRegion& other) const;
    bool operator!=(const GRegion& other) const { return !(*this == other); }

    // The parts of row y's intervals [x0, xe) that meet [x1, x2] (x0 <= x2 and x1 < xe), each clipped to
    // max(x0, x1) .. min(xe, x2), as (start, end) pairs in out; returns the number of pairs. The caller provides
    // room for all of them.
    int clip_hline(int x1, int y, int x2, int* out) const;
    // (left, top, right, bottom) quadruples for every covered interval of every band that meets the box, by the
    // same rule, clipped to it; returns the number of rectangles.
    int clip_box(int x1, int y1, int x2, int y2, int* out) const;

    // A GDI region equal to this one, owned by the region (kept until it changes); null for the empty region.
    HRGN getHandle() const;

    // The union of the rectangles; rectangles in the order enumerate gives are taken over without set operations.
    static GRegion united(const std::vector<RECT>& rects);
    // The same, or nothing when the union, or any union on the way to it, would hold more than `maxRectangles`
    // rectangles: n rectangles may unite into about n * n / 4.
    static std::optional<GRegion> united(const std::vector<RECT>& rects, std::size_t maxRectangles);
    // The rectangles enumerate gives.
    std::vector<RECT> rectangles() const;

    // The shared record (null when empty): regions that share one are copies of each other.
    const RegionRecord* record() const { return m_record; }
    // A region holding the record (null for none); the region takes it over.
    static GRegion adopt(RegionRecord* record);

private:
    GRegion& translate(long long dx, long long dy);
    GRegion& combineWith(const BandView& other, RegionOp op);
    // Makes the record this region's own, ready to change.
    RegionRecord* own();
    void assignFrom(HRGN region);
    static RegionRecord* fromBanded(const std::vector<RECT>& rects, bool strict, bool& banded);
    static std::optional<GRegion> unitedHalves(const std::vector<RECT>& rects, std::size_t from, std::size_t to,
                                               std::size_t maxXs);

    RegionRecord* m_record = nullptr;
};

GRegion operator|(const GRegion& a, const GRegion& b);
GRegion operator|(const GRegion& a, const RECT& b);
GRegion operator|(const RECT& a, const GRegion& b);
GRegion operator+(const GRegion& a, const GRegion& b);
GRegion operator+(const GRegion& a, const RECT& b);
GRegion operator+(const RECT& a, const GRegion& b);
GRegion operator&(const GRegion& a, const GRegion& b);
GRegion operator&(const GRegion& a, const RECT& b);
GRegion operator&(const RECT& a, const GRegion& b);
GRegion operator-(const GRegion& a, const GRegion& b);
GRegion operator-(const GRegion& a, const RECT& b);
GRegion operator-(const RECT& a, const GRegion& b);
GRegion operator^(const GRegion& a, const GRegion& b);
GRegion operator^(const GRegion& a, const RECT& b);
GRegion operator^(const RECT& a, const GRegion& b);
GRegion operator+(GRegion a, const POINT& d);
GRegion operator-(GRegion a, const POINT& d);

// Persistent form: version byte 0, the rectangle count, then each rectangle as four double words (left, top,
// right, bottom) in enumerate order. Reading unites the rectangles into the emptied region.
opstream& operator<<(opstream& stream, const GRegion& region);
ipstream& operator>>(ipstream& stream, GRegion& region);
// Text: "clear" for the empty region, else each rectangle on a line of its own as "left top right bottom".
std::ostream& operator<<(std::ostream& out, const GRegion& region);
