#pragma once
// One type of a resource archive's directory: its name and the collection of its items (owned).

#include "Archives/GResourceCollection.h"

struct ResourceTypeItem {
    GString type;
    GResourceCollection* items = nullptr; // owned

    ResourceTypeItem() = default;
    explicit ResourceTypeItem(const char* name) : type(name), items(new GResourceCollection) {}
    ~ResourceTypeItem() {
        if (items != nullptr)
            items->destroyThis();
    }
    ResourceTypeItem(const ResourceTypeItem&) = delete;
    ResourceTypeItem& operator=(const ResourceTypeItem&) = delete;
};
