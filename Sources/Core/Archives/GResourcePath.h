#pragma once
// GResourcePath: a directory path inside a resource archive, a sequence of directory names. Copies share the names
// until one of them changes. The readable form is each name followed by a backslash; parsing takes backslashes
// and slashes alike and skips empty names.

#include "Text/GString.h"

#include <memory>
#include <vector>

class ipstream;
class opstream;

class GResourcePath {
public:
    GResourcePath() = default;
    explicit GResourcePath(const char* readableForm) { parse_readable_form(readableForm); }

    int getCount() const { return m_names ? static_cast<int>(m_names->size()) : 0; }
    const GString& operator[](int i) const { return (*m_names)[static_cast<std::size_t>(i)]; }
    GResourcePath& operator+=(const char* name);
    GResourcePath& operator+=(const GResourcePath& other);
    // Drops the last name (nothing for the empty path).
    GResourcePath& parent();
    GResourcePath subpath(int from) const;
    GResourcePath subpath(int from, int count) const;
    // The index of the first name that differs (the shorter count when one path leads the other and is shorter;
    // the count when both are equal).
    int find_difference(const GResourcePath& other) const;
    // Whether this path lies inside `other` (starts with it); with `proper`, and is not `other` itself.
    bool is_subdirectory(const GResourcePath& other, bool proper) const;
    // Replaces a leading `from` by `to`; false (unchanged) when the path does not start with `from`.
    bool rename_path_from_root(const GResourcePath& from, const GResourcePath& to);
    void empty() { m_names.reset(); }
    bool isEmpty() const { return getCount() == 0; }

    bool operator==(const GResourcePath& other) const;
    bool operator!=(const GResourcePath& other) const { return !(*this == other); }

    GString get_readable_form() const;
    void parse_readable_form(const char* text);

private:
    // The names, made this path's own before a change.
    std::vector<GString>& own();

    std::shared_ptr<std::vector<GString>> m_names;
};

// BYTE 0, WORD count, then the names as strings.
opstream& operator<<(opstream& stream, const GResourcePath& path);
ipstream& operator>>(ipstream& stream, GResourcePath& path);
