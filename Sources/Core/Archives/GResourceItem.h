#pragma once
// One item of a resource archive's directory: where its data lies, its name (the key of its type's collection)
// and its object while loaded (owned; null when not loaded).

#include "Archives/GResourceFileBlock.h"
#include "Streams/GStreamable.h"
#include "Text/GString.h"

struct GResourceItem {
    GResourceFileBlock block;
    GString key;
    GStreamable* object = nullptr; // owned

    GResourceItem() = default;
    GResourceItem(const char* name, const GResourceFileBlock& where) : block(where), key(name) {}
    ~GResourceItem() {
        if (object != nullptr)
            object->destroyThis();
    }
    GResourceItem(const GResourceItem&) = delete;
    GResourceItem& operator=(const GResourceItem&) = delete;
};
