#include "Archives/ResourceTree.h"

#include "Archives/GResourceDirectoryList.h"

#include <cstring>

namespace ResourceTree {

GResourceDirectory* FindDirectory(const GResourceDirectory& root, const GResourcePath& path) {
    const GResourceDirectory* directory = &root;
    for (int i = 0; directory != nullptr && i < path.getCount(); ++i)
        directory = directory->find_subdirectory(path[i]);
    return const_cast<GResourceDirectory*>(directory);
}

GResourceDirectory& FindOrCreateDirectory(GResourceDirectory& root, const GResourcePath& path, bool& created) {
    created = false;
    GResourceDirectory* directory = &root;
    for (int i = 0; i < path.getCount(); ++i) {
        GResourceDirectory* next = directory->find_subdirectory(path[i]);
        if (next == nullptr) {
            next = &directory->make_subdirectory(path[i]);
            created = true;
        }
        directory = next;
    }
    return *directory;
}

GResourceCollection* FindType(const GResourceDirectory& root, const GResourceFullType& type) {
    const GResourceDirectory* directory = FindDirectory(root, type.get_path());
    return directory != nullptr ? directory->find_type(type.get_type()) : nullptr;
}

GResourceItem* FindItem(const GResourceDirectory& root, const GResourceFullName& name) {
    const GResourceCollection* items = FindType(root, name.get_full_type());
    return items != nullptr ? items->find(name.get_name()) : nullptr;
}

namespace {

void listInto(const GResourceDirectory& directory, const GResourcePath& path, std::vector<Entry>& entries) {
    for (int t = 0; t < directory.getCount(); ++t) {
        const ResourceTypeItem* type = directory.at(t);
        for (int i = 0; i < type->items->getCount(); ++i) {
            GResourceItem* item = type->items->at(i);
            entries.push_back({GResourceFullName(path, type->type, item->key), item});
        }
    }
    if (const GResourceDirectoryList* subdirectories = directory.get_subdirectories())
        for (int d = 0; d < subdirectories->getCount(); ++d) {
            const GResourceDirectory* subdirectory = subdirectories->at(d);
            GResourcePath below = path;
            below += subdirectory->get_name();
            listInto(*subdirectory, below, entries);
        }
}

template <class Collection, class NameOf>
bool increasing(const Collection& collection, NameOf nameOf) {
    for (int i = 1; i < collection.getCount(); ++i)
        if (std::strcmp(nameOf(collection.at(i - 1)), nameOf(collection.at(i))) >= 0)
            return false;
    return true;
}

bool soundItems(const GResourceCollection& items, long first, long limit) {
    for (int i = 0; i < items.getCount(); ++i) {
        const GResourceFileBlock& block = items.at(i)->block;
        if (block.position < first || block.storedSize < 0 || block.position + long{block.storedSize} > limit)
            return false;
    }
    return increasing(items, [](const GResourceItem* item) { return static_cast<const char*>(item->key); });
}

} // namespace

std::vector<Entry> ListItems(const GResourceDirectory& directory) {
    std::vector<Entry> entries;
    listInto(directory, GResourcePath(), entries);
    return entries;
}

bool IsSound(const GResourceDirectory& directory, long first, long limit) {
    for (int t = 0; t < directory.getCount(); ++t) {
        const ResourceTypeItem* type = directory.at(t);
        if (type == nullptr || type->items == nullptr || !soundItems(*type->items, first, limit))
            return false;
    }
    if (!increasing(directory, [](const ResourceTypeItem* type) { return static_cast<const char*>(type->type); }))
        return false;
    const GResourceDirectoryList* subdirectories = directory.get_subdirectories();
    if (subdirectories == nullptr)
        return true;
    for (int d = 0; d < subdirectories->getCount(); ++d)
        if (subdirectories->at(d) == nullptr || !IsSound(*subdirectories->at(d), first, limit))
            return false;
    return increasing(*subdirectories,
                      [](const GResourceDirectory* sub) { return static_cast<const char*>(sub->get_name()); });
}

} // namespace ResourceTree
