#include "Archives/GResourceFullName.h"

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <cstring>

void GResourceFullName::empty() {
    m_type.empty();
    m_name.empty();
}

bool GResourceFullName::operator==(const GResourceFullName& other) const {
    return m_name == other.m_name && m_type == other.m_type;
}

GString GResourceFullName::get_readable_form() const {
    return get_path().get_readable_form() + m_name + "," + get_type();
}

void GResourceFullName::parse_readable_form(const char* text) {
    GResourcePath path(text);
    const GString last = path.isEmpty() ? GString() : path[path.getCount() - 1];
    path.parent();
    const char* comma = std::strchr(last, ',');
    m_name = comma != nullptr ? GString(last, static_cast<unsigned>(comma - static_cast<const char*>(last))) : last;
    m_type = GResourceFullType(path, comma != nullptr ? comma + 1 : "");
}

opstream& operator<<(opstream& stream, const GResourceFullName& name) {
    stream.writeByte(1);
    return stream << name.get_full_type() << name.get_name();
}

ipstream& operator>>(ipstream& stream, GResourceFullName& name) {
    const BYTE version = stream.readVersion(1, typeid(GResourceFullName));
    GResourceFullType type;
    GString item;
    if (version == 1) {
        stream >> type >> item;
    } else {
        GResourcePath path;
        GString typeName;
        stream >> path >> item >> typeName;
        type = GResourceFullType(path, typeName);
    }
    name = GResourceFullName(type, item);
    return stream;
}
