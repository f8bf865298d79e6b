#pragma once
// Iterators over a resource archive: the sub-directories of a directory, the types of a directory, the items of
// a type. Each takes the names when it is made, so changes to the archive while it runs do not disturb it.

#include "Archives/GResourceFile.h"

#include <vector>

// The walk over a list of names that the three iterators share.
class ResourceNameIterator {
public:
    // The current name; empty at the end.
    const GString& name() const;
    explicit operator bool() const { return m_index < m_names.size(); }
    ResourceNameIterator& operator++();

protected:
    explicit ResourceNameIterator(std::vector<GString> names) : m_names(std::move(names)) {}

    std::vector<GString> m_names;
    std::size_t m_index = 0;
};

// The sub-directories of the handle's current directory, or of `path`.
class GResourceSubDirectoryIterator : public ResourceNameIterator {
public:
    explicit GResourceSubDirectoryIterator(const GResourceFile& file);
    GResourceSubDirectoryIterator(const GResourceFile& file, const GResourcePath& path);
};

// The types of the handle's current directory, or of `path`.
class GResourceTypeIterator : public ResourceNameIterator {
public:
    explicit GResourceTypeIterator(const GResourceFile& file);
    GResourceTypeIterator(const GResourceFile& file, const GResourcePath& path);
};

// The items of a type in the handle's current directory, or of a full type.
class GResourceIterator : public ResourceNameIterator {
public:
    GResourceIterator(GResourceFile& file, const char* type);
    GResourceIterator(GResourceFile& file, const GResourceFullType& type);

    int count() const { return static_cast<int>(m_names.size()); }
    using ResourceNameIterator::name;
    // The i-th name; empty out of range.
    const GString& name(int i) const;
    // The current item's object, as GResourceFile::get gives it.
    GStreamable* get(bool keep) const;
    // The current item's object when it is loaded, else null.
    GStreamable* get_loaded() const;

private:
    GResourceFullName current() const;

    GResourceFile& m_file;
    GResourceFullType m_type;
};
