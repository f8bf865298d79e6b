#include "Fuzz/FuzzClasses.h"

#include "Archives/GResourceDirectoryList.h"
#include "IO/GCompressionIO.h"
#include "IO/GFileIO.h"
#include "Imaging/GDIBImage.h"
#include "Regions/GIPLMask.h"
#include "Sprites/GSprite.h"
#include "Streams/ipstream.h"
#include "Streams/mpstream.h"
#include "Streams/opstream.h"

#include <memory>
#include <string>

G_IMPLEMENT_CLASS(GFuzzItem, GStreamable)
G_IMPLEMENT_CLASS(GFuzzList, GCollection)

void GFuzzItem::write(opstream& stream) const {
    stream.writeByte(0);
    stream << value << name;
    stream.writeWideString(u"wide \u00E9");
    stream << bits << area << where;
    stream.writePointer(next);
    stream.writeStreamable(children);
}

void GFuzzItem::read(ipstream& stream) {
    stream.readByte();
    stream >> value >> name;
    std::unique_ptr<char16_t[]> text(stream.readWideString());
    stream >> bits >> area >> where;
    next = stream.readPointer<GFuzzItem>();
    stream.readStreamable(children);
}

void GFuzzList::write_item(void* item, opstream& stream) const {
    stream.writePointer(static_cast<GFuzzItem*>(item));
}

void* GFuzzList::read_item(ipstream& stream) {
    return stream.readPointer(typeid(GFuzzItem));
}

namespace {

// The first byte of an input chooses how it is read: bit 0 big-endian, bit 1 through the inflater.
void writeSeed(const std::string& path, unsigned char mode, const GStreamable& object) {
    auto* device = new GCompressionIO(new GMemoryIO);
    device->compression_level((mode & 2) != 0 ? -1 : 0);
    iopstream stream(device);
    stream.endian((mode & 1) != 0 ? pstream::BigEndian : pstream::LittleEndian);
    stream.writePointer(&object);
    stream.writePointer(&object);
    stream.flush();
    auto* memory = static_cast<GMemoryIO*>(device->getIO());
    GFileIO file(path.c_str(), GIO::WriteOnly, GFileIO::CreateAlways, GFileIO::ShareNone);
    file.gwrite(&mode, 1);
    file.gwrite(memory->buffer(), memory->length());
}

} // namespace

void WriteFuzzSeeds(const char* folder) {
    GFuzzItem first, second, third;
    first.value = 1;
    first.name = "first";
    first.bits += 40;
    first.area = (GRegion(RECT{0, 0, 10, 10}) - RECT{2, 2, 8, 8}) | RECT{20, 3, 25, 30};
    first.where = GPoint(-4, 9);
    second.next = &first;
    first.next = &second;
    third.next = &third;
    second.children.insert(&third);
    GFuzzList list;
    list.insert(&first);
    list.insert(&second);
    list.insert(nullptr);
    GDIBImage image(3, 2);
    image.full_fill(0x80112233);
    GIPLMask mask(37, 3);
    iplSet(mask.get_image(), 0);
    mask.setBit(36, 2, true);
    GResourceDirectory tree;
    GResourceFileBlock block(true);
    block.position = 8;
    block.storedSize = 3;
    tree.make_type("GSprite").insert(new GResourceItem("cat", block));
    tree.make_subdirectory("Scrap").make_subdirectory("Animals").make_type("GDIBImage");
    GSprite sprite(5, 4);
    sprite.full_fill(0x80445566);
    sprite.mask().setBit(2, 3, false);
    for (unsigned char mode = 0; mode < 4; ++mode) {
        writeSeed(std::string(folder) + "/item" + std::to_string(mode), mode, first);
        writeSeed(std::string(folder) + "/list" + std::to_string(mode), mode, list);
        writeSeed(std::string(folder) + "/image" + std::to_string(mode), mode, image);
        writeSeed(std::string(folder) + "/mask" + std::to_string(mode), mode, mask);
        writeSeed(std::string(folder) + "/sprite" + std::to_string(mode), mode, sprite);
        writeSeed(std::string(folder) + "/archive-tree" + std::to_string(mode), mode, tree);
    }
    // The objects here are the function's own: no list may destroy them.
    list.ownsItems(false);
    second.children.ownsItems(false);
}
