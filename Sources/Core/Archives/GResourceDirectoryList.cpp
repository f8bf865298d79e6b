#include "Archives/GResourceDirectoryList.h"

#include "Classes/GClassBoilerplate.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <cstring>

G_IMPLEMENT_CLASS(GResourceDirectoryList, GSortedCollection)

const void* GResourceDirectoryList::keyOf(const void* item) const {
    return static_cast<const char*>(static_cast<const GResourceDirectory*>(item)->get_name());
}

int GResourceDirectoryList::compare(const void* key1, const void* key2) const {
    return std::strcmp(static_cast<const char*>(key1), static_cast<const char*>(key2));
}

void GResourceDirectoryList::write(opstream& stream) const {
    stream.writeByte(0);
    GSortedCollection::write(stream);
}

void GResourceDirectoryList::read(ipstream& stream) {
    stream.readVersion(0, typeid(GResourceDirectoryList));
    GSortedCollection::read(stream);
}

void GResourceDirectoryList::write_item(void* item, opstream& stream) const {
    stream.writePointer(static_cast<const GResourceDirectory*>(item));
}

void* GResourceDirectoryList::read_item(ipstream& stream) {
    return stream.readPointer<GResourceDirectory>();
}
