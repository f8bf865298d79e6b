#include "Archives/ResourceTree.h"

#include "Archives/GResourceDirectoryList.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

GResourceItem* FindLoaded(const GResourceDirectory& root, const GStreamable* object) {
    for (int t = 0; t < root.getCount(); ++t) {
        const GResourceCollection& items = *root.at(t)->items;
        for (int i = 0; i < items.getCount(); ++i)
            if (items.at(i)->object == object)
                return items.at(i);
    }
    const GResourceDirectoryList* subdirectories = root.get_subdirectories();
    for (int d = 0; subdirectories != nullptr && d < subdirectories->getCount(); ++d)
        if (GResourceItem* item = FindLoaded(*subdirectories->at(d), object))
            return item;
    return nullptr;
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

void collectBlocks(const GResourceDirectory& directory, std::vector<std::pair<long, long>>& blocks) {
    for (int t = 0; t < directory.getCount(); ++t) {
        const GResourceCollection& items = *directory.at(t)->items;
        for (int i = 0; i < items.getCount(); ++i)
            blocks.emplace_back(items.at(i)->block.position, items.at(i)->block.storedSize);
    }
    const GResourceDirectoryList* subdirectories = directory.get_subdirectories();
    for (int d = 0; subdirectories != nullptr && d < subdirectories->getCount(); ++d)
        collectBlocks(*subdirectories->at(d), blocks);
}

// Every item has data of its own (the archive never shares a block), so reading, checking or packing all items
// costs no more than the file holds.
bool blocksApart(const GResourceDirectory& root) {
    std::vector<std::pair<long, long>> blocks;
    collectBlocks(root, blocks);
    std::sort(blocks.begin(), blocks.end());
    for (std::size_t i = 1; i < blocks.size(); ++i)
        if (blocks[i - 1].first + blocks[i - 1].second > blocks[i].first)
            return false;
    return true;
}

bool soundStructure(const GResourceDirectory& directory, long first, long limit, int depth) {
    if (depth > MaxDepth)
        return false;
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
        if (subdirectories->at(d) == nullptr || !soundStructure(*subdirectories->at(d), first, limit, depth + 1))
            return false;
    return increasing(*subdirectories,
                      [](const GResourceDirectory* sub) { return static_cast<const char*>(sub->get_name()); });
}

} // namespace

int Height(const GResourceDirectory& directory) {
    int height = 0;
    const GResourceDirectoryList* subdirectories = directory.get_subdirectories();
    for (int d = 0; subdirectories != nullptr && d < subdirectories->getCount(); ++d)
        height = std::max(height, Height(*subdirectories->at(d)) + 1);
    return height;
}

std::vector<Entry> ListItems(const GResourceDirectory& directory) {
    std::vector<Entry> entries;
    listInto(directory, GResourcePath(), entries);
    return entries;
}

bool IsSound(const GResourceDirectory& directory, long first, long limit) {
    return soundStructure(directory, first, limit, 0) && blocksApart(directory);
}

} // namespace ResourceTree
