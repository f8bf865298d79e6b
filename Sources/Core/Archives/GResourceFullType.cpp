#include "Archives/GResourceFullType.h"

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

void GResourceFullType::empty() {
    m_path.empty();
    m_type.empty();
}

bool GResourceFullType::operator==(const GResourceFullType& other) const {
    return m_type == other.m_type && m_path == other.m_path;
}

GString GResourceFullType::get_readable_form() const {
    return m_path.get_readable_form() + m_type;
}

void GResourceFullType::parse_readable_form(const char* text) {
    m_path.parse_readable_form(text);
    m_type = m_path.isEmpty() ? GString() : m_path[m_path.getCount() - 1];
    m_path.parent();
}

opstream& operator<<(opstream& stream, const GResourceFullType& type) {
    stream.writeByte(0);
    return stream << type.get_path() << type.get_type();
}

ipstream& operator>>(ipstream& stream, GResourceFullType& type) {
    stream.readVersion(0, typeid(GResourceFullType));
    GResourcePath path;
    GString name;
    stream >> path >> name;
    type = GResourceFullType(path, name);
    return stream;
}
