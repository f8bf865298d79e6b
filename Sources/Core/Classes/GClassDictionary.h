#pragma once
// A list of class records ordered by name (byte-wise, case-sensitive). It never owns its records.

#include "Collections/GVoidPtrSortedArrayPrim.h"

class GMetaClass;

class GClassDictionary : public GVoidPtrSortedArrayPrim {
public:
    GClassDictionary() : GVoidPtrSortedArrayPrim(16) {}
    GClassDictionary(const GClassDictionary& other);
    GClassDictionary& operator=(const GClassDictionary& other);

    // Inserts at its sorted place, unless a record of that name is present; returns the position.
    int insert(const GMetaClass* meta);
    // Removes the record of that name; returns its index or -1.
    int remove(const GMetaClass* meta);
    int remove(const char* name);
    int index_of(const GMetaClass* meta) const;
    int index_of(const char* name) const;
    const GMetaClass* at(int i) const { return static_cast<const GMetaClass*>(GVoidPtrSortedArrayPrim::at(i)); }

protected:
    const void* key_of(const void* item) const override;
    int compare(const void* key1, const void* key2) const override;
};
