#include "Regions/GPoint.h"

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const GPoint& point) {
    return out << point.x << ' ' << point.y;
}

opstream& operator<<(opstream& stream, const GPoint& point) {
    stream.writeByte(0);
    stream.writeDWord(static_cast<DWORD>(point.x));
    stream.writeDWord(static_cast<DWORD>(point.y));
    return stream;
}

ipstream& operator>>(ipstream& stream, GPoint& point) {
    stream.readVersion(0, typeid(GPoint));
    const auto x = static_cast<LONG>(stream.readDWord());
    point.set(x, static_cast<LONG>(stream.readDWord()));
    return stream;
}
