#include "Classes/GClassDictionary.h"

#include "Classes/GMetaClass.h"

#include <cstring>

GClassDictionary::GClassDictionary(const GClassDictionary& other) : GVoidPtrSortedArrayPrim(16) {
    copy_items_from(other);
}

GClassDictionary& GClassDictionary::operator=(const GClassDictionary& other) {
    if (this != &other) {
        empty();
        copy_items_from(other);
    }
    return *this;
}

int GClassDictionary::insert(const GMetaClass* meta) {
    int index = 0;
    if (!search(meta->getName(), index))
        at_insert(index, const_cast<GMetaClass*>(meta));
    return index;
}

int GClassDictionary::remove(const GMetaClass* meta) {
    return remove(meta->getName());
}

int GClassDictionary::remove(const char* name) {
    const int index = index_of(name);
    if (index >= 0)
        at_remove(index);
    return index;
}

int GClassDictionary::index_of(const GMetaClass* meta) const {
    return index_of(meta->getName());
}

int GClassDictionary::index_of(const char* name) const {
    int index = 0;
    return name != nullptr && search(name, index) ? index : -1;
}

const void* GClassDictionary::key_of(const void* item) const {
    return static_cast<const GMetaClass*>(item)->getName();
}

// strcmp compares unsigned bytes, and a shorter name sorts first on a common prefix.
int GClassDictionary::compare(const void* key1, const void* key2) const {
    return std::strcmp(static_cast<const char*>(key1), static_cast<const char*>(key2));
}
