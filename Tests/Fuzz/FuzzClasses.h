#pragma once
// Streamable classes that the stream fuzzer reads. None of them owns another object, so every object a stream
// builds is released exactly once, through the stream's list of read objects.

#include "Collections/GBitSet.h"
#include "Collections/GCollection.h"
#include "Regions/GPoint.h"
#include "Regions/GRegion.h"
#include "Text/GString.h"

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
    GFuzzItem* next = nullptr;
};

class GFuzzList : public GCollection {
    G_CLASS(GFuzzList)
    void write_item(void* item, opstream& stream) const override;
    void* read_item(ipstream& stream) override;
    void freeItem(void*) override {}
};

// Sample streams of every kind the reader meets: the fuzzer's seeds.
void WriteFuzzSeeds(const char* folder);
