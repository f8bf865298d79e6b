#pragma once
// Streamable classes that the stream fuzzer reads: items that own lists of items (trees, whose ownership the
// stream decides) and link to each other without owning, with every kind of value the core streams. Whatever a
// stream builds is released exactly once: by its owner, or by the stream's clean-up.

#include "Collections/GBitSet.h"
#include "Collections/TGCollection.h"
#include "Regions/GPoint.h"
#include "Regions/GRegion.h"
#include "Text/GString.h"

class GFuzzItem;

class GFuzzList : public TGCollection<GFuzzItem> {
    G_CLASS(GFuzzList)
    void write_item(void* item, opstream& stream) const override;
    void* read_item(ipstream& stream) override;
};

class GFuzzItem : public GStreamable {
    G_CLASS(GFuzzItem)
    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

    int value = 0;
    GString name;
    GString wide;
    GBitSet bits;
    GRegion area;
    GPoint where;
    GFuzzItem* next = nullptr; // not owned
    GFuzzList children;
};

// Sample streams of every kind the reader meets: the fuzzer's seeds.
void WriteFuzzSeeds(const char* folder);
