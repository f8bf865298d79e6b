#include "Files/FileInfo.h"

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <algorithm>
#include <array>
#include <iomanip>
#include <limits>
#include <ostream>

namespace {

// The nine fields of a broken-down time, in their stored order.
std::array<int*, 9> fieldsOf(std::tm& time) {
    return {&time.tm_sec,  &time.tm_min,  &time.tm_hour, &time.tm_mday, &time.tm_mon,
            &time.tm_year, &time.tm_wday, &time.tm_yday, &time.tm_isdst};
}

} // namespace

FileInfo::FileInfo(int kind, unsigned long long size, const std::tm& time, const GFile& name)
    : kind(kind), size(size), time(time), name(name) {}

opstream& operator<<(opstream& stream, const FileInfo& info) {
    stream.writeDWord(static_cast<DWORD>(info.kind));
    stream.writeDWord(static_cast<DWORD>(std::min<unsigned long long>(info.size, std::numeric_limits<DWORD>::max())));
    return stream << info.time << info.name;
}

ipstream& operator>>(ipstream& stream, FileInfo& info) {
    info.kind = static_cast<int>(stream.readDWord());
    info.size = stream.readDWord();
    return stream >> info.time >> info.name;
}

opstream& operator<<(opstream& stream, const std::tm& time) {
    std::tm copy = time;
    for (const int* field : fieldsOf(copy))
        stream.writeDWord(static_cast<DWORD>(*field));
    return stream;
}

ipstream& operator>>(ipstream& stream, std::tm& time) {
    for (int* field : fieldsOf(time))
        *field = static_cast<int>(stream.readDWord());
    return stream;
}

std::ostream& operator<<(std::ostream& out, const std::tm& time) {
    const char fill = out.fill('0');
    out << std::setw(4) << time.tm_year + 1900 << '-' << std::setw(2) << time.tm_mon + 1 << '-' << std::setw(2)
        << time.tm_mday << ' ' << std::setw(2) << time.tm_hour << ':' << std::setw(2) << time.tm_min << ':'
        << std::setw(2) << time.tm_sec;
    out.fill(fill);
    return out;
}
