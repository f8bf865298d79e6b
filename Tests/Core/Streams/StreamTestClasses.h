#pragma once
// Streamable classes for the stream tests.

#include "Collections/TGCollection.h"
#include "Streams/GStreamable.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"
#include "Text/GString.h"

#include <optional>
#include <string>
#include <vector>

// A value, a name and a pointer to another item (not owned).
class GTestItem : public GStreamable {
    G_CLASS(GTestItem)
    GTestItem() = default;
    GTestItem(int v, const char* n) : value(v), name(n) {}

    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

    int value = 0;
    GString name;
    GTestItem* next = nullptr;
    const GMetaClass* readAs = nullptr; // the class record the stream reported while reading
};

// A collection that owns its items and streams them through pointers.
class GTestItems : public TGCollection<GTestItem> {
    G_CLASS(GTestItems)
    void write_item(void* item, opstream& stream) const override;
    void* read_item(ipstream& stream) override;
};

// An item that owns a list of items: the nodes of a tree. The list is read in place, and owns what it reads when
// its stream says so.
class GTestTreeNode : public GTestItem {
    G_CLASS(GTestTreeNode)
    GTestTreeNode() = default;
    GTestTreeNode(int v, const char* n) : GTestItem(v, n) {}

    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

    GTestItems children;
};

// A class that exists only while a test says so: its record is made and destroyed at run time, so a stream can
// be written with it and read without it.
class GTestExtra : public GTestItem {
public:
    static std::optional<GMetaClass> record;
    static void Register();
    static void Unregister() { record.reset(); }

    const GMetaClass& getMetaClass() const override { return *record; }
    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

    std::vector<GTestItem*> children; // written as new objects inside this one
};

// The stream of one pointer to a chain of `length` items, each written inside the one before it.
std::string chainStream(int length);

// The bytes of a memory stream as a string.
template <class Stream>
std::string bytesOf(Stream& stream) {
    return std::string(static_cast<const char*>(stream.data()), stream.length());
}
