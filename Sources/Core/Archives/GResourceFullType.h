#pragma once
// GResourceFullType: a directory path and a type name inside a resource archive. Its readable form is the path's
// followed by the type name.

#include "Archives/GResourcePath.h"

class GResourceFullType {
public:
    GResourceFullType() = default;
    GResourceFullType(const GResourcePath& path, const char* type) : m_path(path), m_type(type) {}

    const GResourcePath& get_path() const { return m_path; }
    const GString& get_type() const { return m_type; }
    void set_path(const GResourcePath& path) { m_path = path; }
    void set_type(const char* type) { m_type = type; }

    bool is_empty() const { return m_path.isEmpty() && m_type.isEmpty(); }
    void empty();
    bool operator==(const GResourceFullType& other) const;
    bool operator!=(const GResourceFullType& other) const { return !(*this == other); }

    GString get_readable_form() const;
    // The last element is the type, the rest the path.
    void parse_readable_form(const char* text);

private:
    GResourcePath m_path;
    GString m_type;
};

// BYTE 0, the path, the type string.
opstream& operator<<(opstream& stream, const GResourceFullType& type);
ipstream& operator>>(ipstream& stream, GResourceFullType& type);
