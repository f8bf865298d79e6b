// Every object a stream builds gets exactly one owner, whatever the bytes claim, and one call releases what a
// failed read built.

#include "Collections/GCollection.h"
#include "Core/Streams/StreamTestClasses.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Reads `count` pointers from `bytes`; returns the message of the stream error, or "" when all were read. The
// stream's clean-up releases everything either way.
std::string readPointers(const std::string& bytes, int count) {
    impstream stream(bytes.data(), bytes.size());
    std::string message;
    try {
        for (int i = 0; i < count; ++i)
            stream.readPointer<GStreamable>();
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        auto* error = dynamic_cast<InvalidPStream_Exception*>(e);
        message = error != nullptr ? std::string(error->getMessage()) : "(another exception)";
    }
    stream.destroyReadObjects();
    return message;
}

// Writes a list holding `items` whose owning flag says `owning`; the list itself never owns them here, so the
// test's objects are not destroyed twice.
void writeList(mpstream& stream, std::initializer_list<GTestItem*> items, bool owning) {
    GTestItems list;
    list.ownsItems(false);
    for (GTestItem* item : items)
        list.insert(item);
    list.ownsItems(owning);
    stream.writePointer(&list, true);
    list.ownsItems(false);
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

} // namespace

TEST(StreamOwnership, AnObjectGetsOneOwnerWhateverTheBytesSay) {
    GTestItem a(1, "a");
    GTestItem b(2, "b");

    mpstream twiceInOneList; // [new a, ref a] in an owning list
    writeList(twiceInOneList, {&a, &a}, true);
    EXPECT_TRUE(startsWith(readPointers(bytesOf(twiceInOneList), 1), "Object #2 already has an owner"));

    mpstream secondOwner; // a list that should not own says it does
    writeList(secondOwner, {&a, &b}, true);
    writeList(secondOwner, {&b}, true);
    EXPECT_TRUE(startsWith(readPointers(bytesOf(secondOwner), 2), "Object #3 already has an owner"));

    mpstream shared; // the same objects in an owning and a non-owning list, in either order
    writeList(shared, {&b}, false);
    writeList(shared, {&a, &b}, true);
    writeList(shared, {&a}, false);
    EXPECT_EQ(readPointers(bytesOf(shared), 3), "");

    mpstream heldByCaller; // a pointer the caller read first, then a list that says it owns the same object
    heldByCaller.writePointer(&a);
    writeList(heldByCaller, {&a}, true);
    EXPECT_TRUE(startsWith(readPointers(bytesOf(heldByCaller), 2), "Object #1 already has an owner"));

    mpstream given; // an object read into the caller's own is the caller's
    {
        GTestTreeNode node(3, "node");
        node.next = &node;
        node.children.ownsItems(false);
        node.children.insert(&node);
        node.children.ownsItems(true);
        given.writeStreamable(node);
        node.children.ownsItems(false);
    }
    GTestTreeNode target;
    impstream stream(given.data(), given.length());
    auto error = catchException<InvalidPStream_Exception>([&] { stream.readStreamable(target); });
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(startsWith(std::string(error->getMessage()), "Object #1 already has an owner"));
    stream.destroyReadObjects();
}

TEST(StreamOwnership, AnObjectCannotOwnItself) {
    GTestTreeNode node(1, "node");
    node.children.ownsItems(false);
    node.children.insert(&node);
    node.children.ownsItems(true);
    mpstream stream;
    stream.writePointer(&node);
    node.children.ownsItems(false);
    EXPECT_TRUE(startsWith(readPointers(bytesOf(stream), 1), "Object #1 would own itself"));
}

// A tree of nodes with non-owning links across it, some of which meet a node before its owner does. Cut at every
// byte, the read fails cleanly and the clean-up releases each object once (AddressSanitizer watches).
TEST(StreamOwnership, EveryCutOfATreeIsReleasedOnce) {
    GTestTreeNode root(0, "root");
    root.children.ownsItems(false);
    GTestTreeNode left(1, "left");
    GTestTreeNode right(2, "right");
    GTestItem leaf(3, "leaf");
    left.children.ownsItems(false);
    left.children.insert(&leaf);
    root.children.insert(&left);
    root.children.insert(&right);
    left.next = &right; // right is met here first, then claimed by the root's list
    leaf.next = &root;
    for (GTestTreeNode* node : {&root, &left})
        node->children.ownsItems(true);
    mpstream stream;
    stream.writePointer(&root);
    for (GTestTreeNode* node : {&root, &left})
        node->children.ownsItems(false);
    const std::string bytes = bytesOf(stream);

    EXPECT_EQ(readPointers(bytes, 1), "");
    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_NE(readPointers(bytes.substr(0, cut), 1), "") << "cut at " << cut;
}

TEST(StreamOwnership, CountsAndStepsAllocateOnlyWhatTheDataHolds) {
    mpstream stream; // a plain collection streams nothing of its items: a huge count has nothing to show
    stream.writeBytes("\xB1\xB5\x0F\xCF", 4);
    stream.writeString("GCollection");
    stream.compat_writeDWord(0xFFFFFF);
    stream.compat_writeDWord(0xFFFFFF);
    stream.compat_writeDWord(0x7FFFFFFF);
    stream.writeByte(0);
    stream.seekg(0, GIO::FromBegin);
    GCollection target;
    auto error = catchException<InvalidPStream_Exception>([&] { stream.readStreamable(target); });
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error->getMessage()).find("items that take no bytes"), std::string::npos);
    EXPECT_LE(target.getLimit(), 4097);

    GTestItems list; // a huge growth step is cut to a sane one
    list.setDelta(0x7FFFFFFF);
    mpstream small;
    small.writeStreamable(list);
    small.seekg(0, GIO::FromBegin);
    GTestItems read;
    small.readStreamable(read);
    EXPECT_EQ(read.getDelta(), 4096);
}
