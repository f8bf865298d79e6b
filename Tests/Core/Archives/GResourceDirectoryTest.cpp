#include "Archives/GResourceDirectoryList.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

GResourceFileBlock blockAt(std::int32_t position, std::int32_t size, bool compressed) {
    GResourceFileBlock block(compressed);
    block.position = position;
    block.storedSize = size;
    block.unpackedSize = compressed ? size * 3 : size;
    return block;
}

// A root with two typed items and a sub-directory tree two levels deep.
std::unique_ptr<GResourceDirectory> sampleTree() {
    auto root = std::make_unique<GResourceDirectory>();
    GResourceCollection& sprites = root->make_type("GSprite");
    sprites.insert(new GResourceItem("dog", blockAt(300, 20, false)));
    sprites.insert(new GResourceItem("cat", blockAt(100, 50, true)));
    GResourceDirectory& animals = root->make_subdirectory("Scrap").make_subdirectory("Animals");
    animals.make_type("GDIBImage").insert(new GResourceItem("bird", blockAt(500, 7, true)));
    return root;
}

std::unique_ptr<GResourceDirectory> readTree(mpstream& stream) {
    stream.seekg(0, GIO::FromBegin);
    return std::unique_ptr<GResourceDirectory>(stream.readPointer<GResourceDirectory>());
}

} // namespace

TEST(GResourceDirectory, TheTreeStreamsAndReadsBack) {
    const auto root = sampleTree();
    EXPECT_EQ(std::string(root->find_type("GSprite")->at(0)->key), "cat"); // sorted by name
    mpstream stream;
    stream.writePointer(root.get());
    const auto read = readTree(stream);
    ASSERT_NE(read, nullptr);
    const GResourceItem* cat = read->find_type("GSprite")->find("cat");
    ASSERT_NE(cat, nullptr);
    EXPECT_EQ(cat->block.position, 100);
    EXPECT_EQ(cat->block.storedSize, 50);
    EXPECT_EQ(cat->block.unpackedSize, 150);
    EXPECT_EQ(cat->block.compressed, 1);
    EXPECT_EQ(read->find_type("GSprite")->find("dog")->block.compressed, 0);
    EXPECT_EQ(read->find_type("Missing"), nullptr);
    const GResourceDirectory* scrap = read->find_subdirectory("Scrap");
    ASSERT_NE(scrap, nullptr);
    EXPECT_EQ(scrap->get_parent(), read.get());
    const GResourceDirectory* animals = scrap->find_subdirectory("Animals");
    ASSERT_NE(animals, nullptr);
    EXPECT_EQ(animals->get_parent(), scrap);
    EXPECT_EQ(animals->find_type("GDIBImage")->find("bird")->block.position, 500);
}

// A new object's frame of class `name` around the bytes `body` writes.
template <class Body>
void writeFrame(mpstream& stream, const char* name, Body body) {
    stream.writeByte(2);
    const std::size_t start = stream.length();
    stream.writeBytes("\xB1\xB5\x0F\xCF", 4);
    stream.writeString(name);
    body(stream);
    stream.writeBytes("\xEF\x80\x4A\x29", 4);
    stream.writeDWord(static_cast<DWORD>(stream.length() - start));
    stream.writeString(name);
}

TEST(GResourceDirectory, OlderFormsStillRead) {
    // An item block in the older form: a positive position and a size, negative for a compressed block.
    for (const auto& [stored, compressed] : {std::pair{9, false}, std::pair{-9, true}}) {
        mpstream old;
        writeFrame(old, "GResourceCollection", [stored = stored](mpstream& s) {
            s.compat_writeDWord(1);
            s.compat_writeDWord(4);
            s.compat_writeDWord(4);
            s.writeByte(1);
            s << GString("x");
            s.writeDWord(40);
            s.writeDWord(static_cast<DWORD>(stored));
            s.writeByte(0); // no duplicates
        });
        old.seekg(0, GIO::FromBegin);
        std::unique_ptr<GResourceCollection> read(old.readPointer<GResourceCollection>());
        ASSERT_NE(read, nullptr);
        const GResourceItem* item = read->find("x");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->block.position, 40);
        EXPECT_EQ(item->block.storedSize, 9);
        EXPECT_EQ(item->block.compressed, compressed ? 1 : 0);
        EXPECT_EQ(item->block.unpackedSize, compressed ? -1 : 9);
    }

    // A directory under its first name holds its types only.
    GResourceDirectory types;
    types.make_type("GSprite").insert(new GResourceItem("cat", blockAt(8, 1, true)));
    mpstream renamed;
    writeFrame(renamed, "ResourceTypeCollection", [&](mpstream& s) { types.GSortedCollection::write(s); });
    renamed.seekg(0, GIO::FromBegin);
    std::unique_ptr<GResourceDirectory> read(renamed.readPointer<GResourceDirectory>());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->find_type("GSprite")->find("cat")->block.position, 8);
    EXPECT_EQ(read->get_subdirectories(), nullptr);
}

TEST(GResourceDirectory, OneCollectionCannotServeTwoTypes) {
    GResourceDirectory root;
    root.make_type("A");
    GResourceCollection* shared = root.find_type("A");
    auto* second = new ResourceTypeItem("B");
    second->items->destroyThis();
    second->items = shared; // two types own one collection in the stream
    root.insert(second);
    mpstream stream;
    stream.writePointer(&root);
    second->items = nullptr;
    stream.seekg(0, GIO::FromBegin);
    auto error = catchException<InvalidPStream_Exception>([&] { stream.readPointer<GResourceDirectory>(); });
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error->getMessage()).find("already has an owner"), std::string::npos);
    stream.destroyReadObjects();
}
