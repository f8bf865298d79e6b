#pragma once
// Walks over a resource archive's directory tree: finding and making directories, types and items by path, and
// listing every item below a directory. The tree is the caller's to lock.

#include "Archives/GResourceDirectory.h"
#include "Archives/GResourceFullName.h"

#include <vector>

namespace ResourceTree {

// The deepest directory path an archive holds: well within what an object stream reader reads back (a directory
// nests two frames deeper than its parent), so whatever is written can be read.
inline constexpr int MaxDepth = 400;
// How many directory levels lie below `directory` (0 when it has no sub-directories).
int Height(const GResourceDirectory& directory);

// The directory at `path` below `root`, or null.
GResourceDirectory* FindDirectory(const GResourceDirectory& root, const GResourcePath& path);
// The directory at `path`, made with every missing parent; `created` tells whether one was made.
GResourceDirectory& FindOrCreateDirectory(GResourceDirectory& root, const GResourcePath& path, bool& created);
GResourceCollection* FindType(const GResourceDirectory& root, const GResourceFullType& type);
GResourceItem* FindItem(const GResourceDirectory& root, const GResourceFullName& name);
// The item that holds `object` loaded, or null.
GResourceItem* FindLoaded(const GResourceDirectory& root, const GStreamable* object);

// Every item below `directory` (its own and its sub-directories', depth first) with its name relative to it.
struct Entry {
    GResourceFullName name;
    GResourceItem* item;
};
std::vector<Entry> ListItems(const GResourceDirectory& directory);

// Whether a tree read from a file is whole: every type has its items, names are in strictly increasing order (the
// lookups search them), no path is deeper than MaxDepth, every block lies inside [first, limit) of the archive,
// and no two items' blocks overlap.
bool IsSound(const GResourceDirectory& directory, long first, long limit);

} // namespace ResourceTree
