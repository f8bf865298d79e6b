#pragma once
// GResourceFullName: where an item lies in a resource archive: a path, a type name and an item name. Its readable
// form is the path's, the item name, a comma and the type name ("Scrap\Animals\cat,GSprite").

#include "Archives/GResourceFullType.h"

class GResourceFullName {
public:
    GResourceFullName() = default;
    GResourceFullName(const GResourceFullType& type, const char* name) : m_type(type), m_name(name) {}
    GResourceFullName(const GResourcePath& path, const char* type, const char* name)
        : m_type(path, type), m_name(name) {}

    const GResourceFullType& get_full_type() const { return m_type; }
    const GResourcePath& get_path() const { return m_type.get_path(); }
    const GString& get_type() const { return m_type.get_type(); }
    const GString& get_name() const { return m_name; }
    void set_full_type(const GResourceFullType& type) { m_type = type; }
    void set_path(const GResourcePath& path) { m_type.set_path(path); }
    void set_type(const char* type) { m_type.set_type(type); }
    void set_name(const char* name) { m_name = name; }

    bool is_empty() const { return m_type.is_empty() && m_name.isEmpty(); }
    void empty();
    bool operator==(const GResourceFullName& other) const;
    bool operator!=(const GResourceFullName& other) const { return !(*this == other); }

    GString get_readable_form() const;
    // The last element is split at its first comma into the item name and the type; the rest is the path.
    void parse_readable_form(const char* text);

private:
    GResourceFullType m_type;
    GString m_name;
};

// BYTE 1, the full type, the name string. Reading also takes the older form: BYTE 0, the path, the name string,
// the type string.
opstream& operator<<(opstream& stream, const GResourceFullName& name);
ipstream& operator>>(ipstream& stream, GResourceFullName& name);
