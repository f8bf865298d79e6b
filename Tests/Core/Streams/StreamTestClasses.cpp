#include "Core/Streams/StreamTestClasses.h"

#include "Streams/mpstream.h"

G_IMPLEMENT_CLASS(GTestItem, GStreamable)
G_IMPLEMENT_CLASS(GTestItems, GCollection)
G_IMPLEMENT_CLASS(GTestTreeNode, GTestItem)

// Read under this old name, an item still reads as GTestItem.
static const GMetaClass OldItemName(GTestItem::metaclass_, "GTestOldItem");

void GTestItem::write(opstream& stream) const {
    stream.writeByte(1); // format version
    stream << value << name;
    stream.writePointer(next);
}

void GTestItem::read(ipstream& stream) {
    readAs = stream.metaclassOfReadingObject();
    stream.readByte();
    stream >> value >> name;
    next = stream.readPointer<GTestItem>();
}

void GTestItems::write_item(void* item, opstream& stream) const {
    stream.writePointer(static_cast<GTestItem*>(item));
}

void* GTestItems::read_item(ipstream& stream) {
    return stream.readPointer(typeid(GTestItem));
}

void GTestTreeNode::write(opstream& stream) const {
    GTestItem::write(stream);
    stream.writeStreamable(children);
}

void GTestTreeNode::read(ipstream& stream) {
    GTestItem::read(stream);
    stream.readStreamable(children);
}

std::optional<GMetaClass> GTestExtra::record;

namespace {

GRTTIObject* buildExtra() {
    return new GTestExtra;
}

} // namespace

void GTestExtra::Register() {
    record.emplace(typeid(GTestExtra), "GTestExtra", buildExtra, nullptr, &GTestItem::metaclass_);
}

void GTestExtra::write(opstream& stream) const {
    GTestItem::write(stream);
    stream.writeDWord(static_cast<DWORD>(children.size()));
    for (GTestItem* child : children)
        stream.writePointer(child, true);
}

void GTestExtra::read(ipstream& stream) {
    GTestItem::read(stream);
    for (DWORD n = stream.readDWord(); n > 0; --n)
        children.push_back(stream.readPointer<GTestItem>());
}

std::string chainStream(int length) {
    std::vector<GTestItem> items(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i + 1 < items.size(); ++i)
        items[i].next = &items[i + 1];
    mpstream stream;
    stream.writePointer(&items.front());
    return bytesOf(stream);
}
