#include "Archives/GResourcePath.h"

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <algorithm>
#include <cstring>

std::vector<GString>& GResourcePath::own() {
    if (!m_names)
        m_names = std::make_shared<std::vector<GString>>();
    else if (m_names.use_count() > 1)
        m_names = std::make_shared<std::vector<GString>>(*m_names);
    return *m_names;
}

GResourcePath& GResourcePath::operator+=(const char* name) {
    own().emplace_back(name);
    return *this;
}

GResourcePath& GResourcePath::operator+=(const GResourcePath& other) {
    if (other.isEmpty())
        return *this;
    const std::vector<GString> added = *other.m_names; // `other` may be this path
    std::vector<GString>& names = own();
    names.insert(names.end(), added.begin(), added.end());
    return *this;
}

GResourcePath& GResourcePath::parent() {
    if (!isEmpty())
        own().pop_back();
    return *this;
}

GResourcePath GResourcePath::subpath(int from) const {
    return subpath(from, getCount() - from);
}

GResourcePath GResourcePath::subpath(int from, int count) const {
    GResourcePath part;
    from = std::clamp(from, 0, getCount());
    count = std::clamp(count, 0, getCount() - from);
    for (int i = from; i < from + count; ++i)
        part += (*this)[i];
    return part;
}

int GResourcePath::find_difference(const GResourcePath& other) const {
    const int common = std::min(getCount(), other.getCount());
    for (int i = 0; i < common; ++i)
        if ((*this)[i] != other[i])
            return i;
    return common;
}

bool GResourcePath::is_subdirectory(const GResourcePath& other, bool proper) const {
    const bool inside = other.getCount() <= getCount() && find_difference(other) == other.getCount();
    return inside && (!proper || getCount() > other.getCount());
}

bool GResourcePath::rename_path_from_root(const GResourcePath& from, const GResourcePath& to) {
    if (!is_subdirectory(from, false))
        return false;
    GResourcePath renamed = to;
    renamed += subpath(from.getCount());
    *this = renamed;
    return true;
}

bool GResourcePath::operator==(const GResourcePath& other) const {
    return getCount() == other.getCount() && find_difference(other) == getCount();
}

GString GResourcePath::get_readable_form() const {
    GString text;
    for (int i = 0; i < getCount(); ++i) {
        text += (*this)[i];
        text += '\\';
    }
    return text;
}

void GResourcePath::parse_readable_form(const char* text) {
    empty();
    const char* at = text != nullptr ? text : "";
    while (*at != '\0') {
        const std::size_t length = std::strcspn(at, "\\/");
        if (length > 0)
            *this += GString(at, static_cast<unsigned>(length));
        at += length;
        if (*at != '\0')
            ++at;
    }
}

opstream& operator<<(opstream& stream, const GResourcePath& path) {
    stream.writeByte(0);
    stream.writeWord(static_cast<WORD>(path.getCount()));
    for (int i = 0; i < path.getCount(); ++i)
        stream << path[i];
    return stream;
}

// The names are read one by one: a count the data does not hold fails at the end of the data.
ipstream& operator>>(ipstream& stream, GResourcePath& path) {
    stream.readVersion(0, typeid(GResourcePath));
    const WORD count = stream.readWord();
    path.empty();
    for (WORD i = 0; i < count; ++i) {
        GString name;
        stream >> name;
        path += name;
    }
    return stream;
}
