#include "Archives/GResourceCollection.h"

#include "Classes/GClassBoilerplate.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <cstdint>
#include <cstring>
#include <memory>

G_IMPLEMENT_CLASS(GResourceCollection, GSortedCollection)

GResourceItem* GResourceCollection::find(const char* name) const {
    int index = 0;
    const GString key(name);
    return search(static_cast<const char*>(key), index) ? at(index) : nullptr;
}

const void* GResourceCollection::keyOf(const void* item) const {
    return static_cast<const char*>(static_cast<const GResourceItem*>(item)->key);
}

int GResourceCollection::compare(const void* key1, const void* key2) const {
    return std::strcmp(static_cast<const char*>(key1), static_cast<const char*>(key2));
}

void GResourceCollection::write_item(void* item, opstream& stream) const {
    const auto* resource = static_cast<const GResourceItem*>(item);
    stream << resource->key;
    stream.writeDWord(static_cast<DWORD>(-resource->block.position));
    stream.writeByte(0);
    stream.writeDWord(static_cast<DWORD>(resource->block.storedSize));
    stream.writeDWord(static_cast<DWORD>(resource->block.unpackedSize));
    stream.writeByte(resource->block.compressed);
}

void* GResourceCollection::read_item(ipstream& stream) {
    auto item = std::make_unique<GResourceItem>();
    stream >> item->key;
    const auto first = static_cast<std::int32_t>(stream.readDWord());
    GResourceFileBlock& block = item->block;
    const auto invalid = [&] {
        RaiseStreamError("Invalid archive item '%s'. Position=%li", static_cast<const char*>(item->key),
                         static_cast<long>(stream.countOfReadBytes()));
    };
    if (first == INT32_MIN)
        invalid();
    if (first < 0) {
        stream.readVersion(0, typeid(GResourceItem));
        block.position = -first;
        block.storedSize = static_cast<std::int32_t>(stream.readDWord());
        block.unpackedSize = static_cast<std::int32_t>(stream.readDWord());
        block.compressed = stream.readByte() != 0 ? 1 : 0;
    } else {
        const auto size = static_cast<std::int32_t>(stream.readDWord());
        if (size == INT32_MIN)
            invalid();
        block.position = first;
        block.compressed = size < 0 ? 1 : 0;
        block.storedSize = size < 0 ? -size : size;
        block.unpackedSize = size < 0 ? -1 : size;
    }
    if (block.storedSize < 0)
        invalid();
    return item.release();
}
