// The set operations as values, and the region's persistent and text forms.

#include "Regions/GRegion.h"

#include "Regions/RegionCombine.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <optional>
#include <ostream>
#include <utility>

namespace {

template <RegionOp Op>
GRegion combined(const BandView& a, const BandView& b) {
    return GRegion::adopt(combineBands(a, b, Op));
}

} // namespace

GRegion operator|(const GRegion& a, const GRegion& b) {
    return combined<RegionOp::Union>(BandView(a.record()), BandView(b.record()));
}
GRegion operator|(const GRegion& a, const RECT& b) {
    return combined<RegionOp::Union>(BandView(a.record()), RectBands(b).view());
}
GRegion operator|(const RECT& a, const GRegion& b) {
    return combined<RegionOp::Union>(RectBands(a).view(), BandView(b.record()));
}
GRegion operator+(const GRegion& a, const GRegion& b) {
    return a | b;
}
GRegion operator+(const GRegion& a, const RECT& b) {
    return a | b;
}
GRegion operator+(const RECT& a, const GRegion& b) {
    return a | b;
}
GRegion operator&(const GRegion& a, const GRegion& b) {
    return combined<RegionOp::Intersection>(BandView(a.record()), BandView(b.record()));
}
GRegion operator&(const GRegion& a, const RECT& b) {
    return combined<RegionOp::Intersection>(BandView(a.record()), RectBands(b).view());
}
GRegion operator&(const RECT& a, const GRegion& b) {
    return combined<RegionOp::Intersection>(RectBands(a).view(), BandView(b.record()));
}
GRegion operator-(const GRegion& a, const GRegion& b) {
    return combined<RegionOp::Difference>(BandView(a.record()), BandView(b.record()));
}
GRegion operator-(const GRegion& a, const RECT& b) {
    return combined<RegionOp::Difference>(BandView(a.record()), RectBands(b).view());
}
GRegion operator-(const RECT& a, const GRegion& b) {
    return combined<RegionOp::Difference>(RectBands(a).view(), BandView(b.record()));
}
GRegion operator^(const GRegion& a, const GRegion& b) {
    return combined<RegionOp::SymmetricDifference>(BandView(a.record()), BandView(b.record()));
}
GRegion operator^(const GRegion& a, const RECT& b) {
    return combined<RegionOp::SymmetricDifference>(BandView(a.record()), RectBands(b).view());
}
GRegion operator^(const RECT& a, const GRegion& b) {
    return combined<RegionOp::SymmetricDifference>(RectBands(a).view(), BandView(b.record()));
}
GRegion operator+(GRegion a, const POINT& d) {
    return a += d;
}
GRegion operator-(GRegion a, const POINT& d) {
    return a -= d;
}

opstream& operator<<(opstream& stream, const GRegion& region) {
    stream.writeByte(0);
    stream.writeDWord(static_cast<DWORD>(region.rectangleCount()));
    for (const RECT& r : region.rectangles())
        for (LONG value : {r.left, r.top, r.right, r.bottom})
            stream.writeDWord(static_cast<DWORD>(value));
    return stream;
}

// The most rectangles a region read from n rectangles may hold: a region we write reads back with exactly its own,
// and a factor of 64 leaves room for rectangles that other writers did not put in band order, while what a
// stream can make stays proportional to its size (and far from the n * n / 4 that n rectangles can unite into).
constexpr std::size_t RectanglesPerRectangleRead = 64;

// The rectangles are read one by one, so a count the data does not hold fails at the end of the data.
ipstream& operator>>(ipstream& stream, GRegion& region) {
    const long position = static_cast<long>(stream.countOfReadBytes());
    stream.readVersion(0, typeid(GRegion));
    const DWORD count = stream.readDWord();
    std::vector<RECT> rects;
    for (DWORD i = 0; i < count; ++i) {
        RECT r;
        r.left = static_cast<LONG>(stream.readDWord());
        r.top = static_cast<LONG>(stream.readDWord());
        r.right = static_cast<LONG>(stream.readDWord());
        r.bottom = static_cast<LONG>(stream.readDWord());
        rects.push_back(r);
    }
    std::optional<GRegion> read = GRegion::united(rects, RectanglesPerRectangleRead * (rects.size() + 1));
    if (!read)
        RaiseStreamError("Region of %u rectangles too complex to unite. Position=%li", count, position);
    region = std::move(*read);
    return stream;
}

std::ostream& operator<<(std::ostream& out, const GRegion& region) {
    if (region.isEmpty())
        return out << "clear\n";
    for (const RECT& r : region.rectangles())
        out << '\n' << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
    return out << '\n';
}
