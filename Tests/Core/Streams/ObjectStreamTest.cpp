#include "Collections/GBitSet.h"
#include "Collections/GSortedCollection.h"
#include "Core/Streams/StreamTestClasses.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

// A reading stream over a copy of the given bytes.
struct Reader {
    explicit Reader(std::string bytes) : data(std::move(bytes)), stream(data.data(), data.size()) {}
    std::string data;
    impstream stream;
};

template <class E>
std::string errorOf(Reader& reader, void (*read)(ipstream&)) {
    auto error = catchException<E>([&] { read(reader.stream); });
    return error ? std::string(error->getMessage()) : std::string("(none)");
}

std::string frameOf(const GStreamable& object) {
    mpstream stream;
    stream.writeStreamable(object);
    return bytesOf(stream);
}

} // namespace

TEST(ObjectStream, PrimitivesInBothByteOrders) {
    mpstream little;
    little << true << static_cast<short>(0x1234) << 0x01020304 << static_cast<signed char>(-1);
    little.compat_writeDWord(0x7FFF);
    little.compat_writeDWord(0x12345678);
    EXPECT_EQ(hex(bytesOf(little)), "01 00 00 00 34 12 04 03 02 01 FF FF 7F 34 92 78 56");

    mpstream big;
    big.endian(pstream::BigEndian);
    big << true << static_cast<short>(0x1234) << 0x01020304;
    big.compat_writeDWord(0x12345678);
    const WORD words[2] = {0x0102, 0x0304};
    big.writeBytes(words, 2, 2);
    EXPECT_EQ(hex(bytesOf(big)), "00 00 00 01 12 34 01 02 03 04 92 34 56 78 01 02 03 04");

    for (pstream::EndianType order : {pstream::LittleEndian, pstream::BigEndian}) {
        mpstream stream;
        stream.endian(order);
        stream << 1.5f << -2.25 << false;
        stream.compat_writeDWord(0x8000);
        stream.fillBytes(5000, 0xAB);
        stream.seekg(0, GIO::FromBegin);
        float f;
        double d;
        bool b;
        stream >> f >> d >> b;
        EXPECT_EQ(f, 1.5f);
        EXPECT_EQ(d, -2.25);
        EXPECT_FALSE(b);
        EXPECT_EQ(stream.compat_readDWord(), 0x8000u);
        stream.skipBytes(4999);
        EXPECT_EQ(stream.readByte(), 0xAB);
        EXPECT_EQ(stream.countOfReadBytes(), 4u + 8 + 4 + 4 + 5000);
        auto end = catchException<InvalidPStream_Exception>([&] { stream.readByte(); });
        EXPECT_NE(end, nullptr); // the end of the data is an error, not a value
    }
}

TEST(ObjectStream, EndianSwitcherRestoresTheOrder) {
    mpstream stream;
    {
        PStreamEndianSwitcher bigEndian(stream, pstream::BigEndian);
        stream.writeWord(1);
        EXPECT_TRUE(stream.need_swap_bytes());
    }
    stream.writeWord(1);
    EXPECT_EQ(hex(bytesOf(stream)), "00 01 01 00");
}

TEST(ObjectStream, StringForms) {
    mpstream stream;
    stream.writeString(nullptr);
    stream.writeString("ab");
    stream.writeWideString(u"\u00E9x");
    EXPECT_EQ(hex(bytesOf(stream)), "FF FF 02 00 61 62 FE FF FF FF FF FF 02 02 00 00 00 E9 00 78 00");

    const std::string shortest(65533, 's');
    const std::string longest(65534, 'l');
    mpstream lengths;
    lengths.writeString(shortest.c_str());
    lengths.writeString(longest.c_str());
    const std::string bytes = bytesOf(lengths);
    EXPECT_EQ(hex(bytes.substr(0, 2)), "FD FF");
    EXPECT_EQ(hex(bytes.substr(2 + 65533, 6)), "FE FF FE FF 00 00");
    lengths.seekg(0, GIO::FromBegin);
    GString a, b;
    lengths >> a >> b;
    EXPECT_EQ(a.length(), 65533u);
    EXPECT_EQ(std::string(b), longest);
}

TEST(ObjectStream, StringsConvertBetweenCharacterSizes) {
    mpstream stream;
    stream.endian(pstream::BigEndian);
    stream.writeString("caf\xC3\xA9");
    stream.writeWideString(u"\u65E5\U0001F600");
    stream.writeString("\xFF not UTF-8");
    // A stored 4-byte string keeps the low half of each character.
    stream.writeWord(0xFFFE);
    stream.writeDWord(0xFFFFFFFF);
    stream.writeByte(4);
    stream.writeDWord(2);
    stream.writeDWord(0x10041);
    stream.writeDWord(0x42);
    // A character size the reader does not know is skipped.
    stream.writeWord(0xFFFE);
    stream.writeDWord(0xFFFFFFFF);
    stream.writeByte(3);
    stream.writeDWord(2);
    stream.fillBytes(6, 0);
    stream.writeString("end");

    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<char16_t[]> wide(stream.readWideString());
    EXPECT_EQ(std::u16string(wide.get()), u"caf\u00E9");
    std::unique_ptr<char[]> narrow(stream.readString());
    EXPECT_STREQ(narrow.get(), "\xE6\x97\xA5\xF0\x9F\x98\x80");
    EXPECT_EQ(stream.readWideString(), nullptr); // not UTF-8: the conversion fails
    std::unique_ptr<char[]> fromWide(stream.readString());
    EXPECT_STREQ(fromWide.get(), "AB");
    EXPECT_EQ(stream.readString(), nullptr);
    std::unique_ptr<char[]> last(stream.readString());
    EXPECT_STREQ(last.get(), "end");
}

TEST(ObjectStream, ALengthTheDataDoesNotHoldFailsWithoutAllocatingIt) {
    mpstream stream;
    stream.writeWord(0xFFFE);
    stream.writeDWord(0xFFFFFFF0);
    stream.writeString("short");
    stream.seekg(0, GIO::FromBegin);
    auto error = catchException<InvalidPStream_Exception>([&] { delete[] stream.readString(); });
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error->getMessage()).find("Unexpected end of stream"), std::string::npos);
}

TEST(ObjectStream, ClassReferences) {
    mpstream stream;
    stream << &GTestItem::metaclass_ << static_cast<const GMetaClass*>(nullptr);
    stream.writeWord(5);
    stream.writeBytes("GNone", 5);
    EXPECT_EQ(hex(bytesOf(stream).substr(0, 2)), "09 00");
    stream.seekg(0, GIO::FromBegin);
    const GMetaClass* meta = nullptr;
    stream >> meta;
    EXPECT_EQ(meta, &GTestItem::metaclass_);
    stream >> meta;
    EXPECT_EQ(meta, nullptr);
    stream >> meta;
    EXPECT_EQ(meta, nullptr); // not registered
}

TEST(ObjectStream, FrameLayout) {
    const GTestItem item(7, "x");
    const std::string frame = frameOf(item);
    // marker, name, body (version, value, name, null pointer), marker, length, name
    EXPECT_EQ(hex(frame), "B1 B5 0F CF 09 00 47 54 65 73 74 49 74 65 6D 01 07 00 00 00 01 00 78 00 "
                          "EF 80 4A 29 1C 00 00 00 09 00 47 54 65 73 74 49 74 65 6D");
    mpstream big;
    big.endian(pstream::BigEndian);
    big.writeStreamable(item);
    EXPECT_EQ(hex(bytesOf(big).substr(24, 8)), "EF 80 4A 29 1C 00 00 00"); // the length is never swapped
}

TEST(ObjectStream, PointersAreWrittenOnceThenByIndex) {
    GTestItem item(3, "shared");
    mpstream stream;
    stream.writePointer(&item);
    const std::size_t first = stream.length();
    stream.writePointer(&item);
    const std::string bytes = bytesOf(stream);
    EXPECT_EQ(hex(bytes.substr(0, 1)), "02");
    EXPECT_EQ(hex(bytes.substr(first)), "01 01 00");

    stream.seekg(0, GIO::FromBegin);
    auto* a = stream.readPointer<GTestItem>();
    auto* b = stream.readPointer<GTestItem>();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->value, 3);
    EXPECT_EQ(std::string(a->name), "shared");
    delete a;

    // After seekp the indices restart: the object is written anew.
    stream.seekp(0, GIO::FromBegin);
    stream.writePointer(&item);
    EXPECT_EQ(hex(bytesOf(stream).substr(0, 1)), "02");
    EXPECT_EQ(stream.countOfWrittenBytes(), first);
}

TEST(ObjectStream, LargeIndicesTakeTheLongForm) {
    std::vector<GTestItem> items(65535);
    mpstream stream;
    for (const GTestItem& item : items)
        stream.writePointer(&item);
    const std::size_t end = stream.length();
    stream.writePointer(&items[65533]);
    stream.writePointer(&items[65534]);
    EXPECT_EQ(hex(bytesOf(stream).substr(end)), "01 FE FF 01 FF FF FF FF 00 00");

    stream.seekg(0, GIO::FromBegin);
    std::vector<std::unique_ptr<GTestItem>> read;
    for (std::size_t i = 0; i < items.size(); ++i)
        read.emplace_back(stream.readPointer<GTestItem>());
    EXPECT_EQ(stream.readPointer(typeid(GTestItem)), read[65533].get());
    EXPECT_EQ(stream.readPointer(typeid(GTestItem)), read[65534].get());
}

TEST(ObjectStream, SelfReferenceAndForcedCopies) {
    GTestItem loop(1, "loop");
    loop.next = &loop;
    mpstream stream;
    stream.writePointer(&loop);
    stream.writePointer(&loop, true);
    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<GTestItem> read(stream.readPointer<GTestItem>());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->next, read.get());
    std::unique_ptr<GTestItem> copy(stream.readPointer<GTestItem>());
    EXPECT_NE(copy.get(), read.get());
    EXPECT_EQ(copy->next, read.get()); // its pointer was a back-reference to the first
}

TEST(ObjectStream, ObjectsNotToBeWritten) {
    GTestItem hidden(5, "hidden");
    hidden.shouldWrite(false);
    EXPECT_EQ(hidden.clone(), nullptr);
    mpstream stream;
    stream.writePointer(&hidden);
    stream.writeStreamable(hidden);
    EXPECT_EQ(hex(bytesOf(stream)), "00 B1 B5 0F CF FF FF EF 80 4A 29 0A 00 00 00 FF FF");
    stream.seekg(0, GIO::FromBegin);
    EXPECT_EQ(stream.readPointer(typeid(GTestItem)), nullptr);
    GTestItem target(9, "kept");
    stream.readStreamable(target); // nothing to read into it, and no error
    EXPECT_EQ(target.value, 9);
}

TEST(ObjectStream, StaticObjects) {
    GTestItem shared(1, "static");
    GTestItem user(2, "user");
    user.next = &shared;
    mpstream stream;
    stream.registerStaticObjectToWrite(&shared);
    stream.writePointer(&user);
    EXPECT_EQ(hex(bytesOf(stream).substr(0, 3)), "01 01 00");

    stream.seekg(0, GIO::FromBegin);
    GTestItem readersOwn(0, "mine");
    stream.registerStaticObjectToRead(&readersOwn);
    std::unique_ptr<GTestItem> read(stream.readPointer<GTestItem>());
    EXPECT_EQ(read->next, &readersOwn);
}

TEST(ObjectStream, OldNamesReadAsTheRealClass) {
    mpstream stream;
    stream.writeByte(2);
    stream.writeBytes("\xB1\xB5\x0F\xCF", 4);
    stream.writeString("GTestOldItem");
    const GTestItem item(4, "old");
    item.write(stream);
    stream.writeBytes("\xEF\x80\x4A\x29", 4);
    const DWORD length = static_cast<DWORD>(stream.countOfWrittenBytes() - 1);
    stream.writeBytes(&length, 4);
    stream.writeString("GTestOldItem");
    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<GTestItem> read(stream.readPointer<GTestItem>());
    ASSERT_NE(read, nullptr);
    EXPECT_STREQ(read->getClassName(), "GTestItem");
    EXPECT_STREQ(read->readAs->getName(), "GTestOldItem");
}

TEST(ObjectStream, OldStyleFrames) {
    mpstream stream;
    stream.writeByte(2);
    stream.writeByte('{');
    stream.writeString("GTestItem");
    GTestItem(6, "braces").write(stream);
    stream.writeByte(']');
    stream.writeByte(2);
    stream.writeByte('{');
    stream.writeString("GUnknownOld");
    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<GTestItem> read(stream.readPointer<GTestItem>());
    EXPECT_EQ(read->value, 6);
    auto error = catchException<UnknownStreamableType_Exception>([&] { stream.readPointer(typeid(GTestItem)); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Unknown streamable class 'GUnknownOld'");

    // A nameless old frame leaves the object given as it is; with none given it cannot be read.
    mpstream nameless;
    nameless.writeByte('{');
    nameless.writeString(nullptr);
    nameless.writeByte(']');
    nameless.seekg(0, GIO::FromBegin);
    GTestItem kept(7, "kept");
    nameless.readStreamable(kept);
    EXPECT_EQ(kept.value, 7);
    EXPECT_EQ(nameless.countOfReadBytes(), nameless.length());
    nameless.seekg(0, GIO::FromBegin);
    nameless.writeByte(2);
    nameless.writeByte('{');
    nameless.writeString(nullptr);
    nameless.writeByte(']');
    nameless.seekg(0, GIO::FromBegin);
    EXPECT_NE(catchException<UnknownStreamableType_Exception>([&] { nameless.readPointer<GTestItem>(); }), nullptr);
}

TEST(ObjectStream, Errors) {
    const std::string frame = frameOf(GTestItem(1, "e"));
    std::string badLength = "\x02" + frame;
    badLength[1 + 28] = 0x21;
    Reader lengthReader(badLength);
    EXPECT_EQ(
        errorOf<InvalidPStreamSuffix_Exception>(lengthReader, [](ipstream& s) { s.readPointer(typeid(GTestItem)); }),
        "Invalid suffix in stream. Position=25. Class=GTestItem");

    Reader markerReader(std::string("\x00\x03", 2));
    EXPECT_EQ(errorOf<InvalidPStreamMarker_Exception>(markerReader,
                                                      [](ipstream& s) {
                                                          s.readPointer(typeid(GTestItem));
                                                          s.readPointer(typeid(GTestItem));
                                                      }),
              "Invalid pointer stream marker = 3 . Position=1");

    Reader prefixReader(std::string("\x02\xB1\xB5\x0F\x00", 5));
    EXPECT_EQ(
        errorOf<InvalidPStreamPrefix_Exception>(prefixReader, [](ipstream& s) { s.readPointer(typeid(GTestItem)); }),
        "Invalid prefix in stream. Position=1");

    Reader oldReader("\x02[");
    EXPECT_EQ(errorOf<OldPrefix_Exception>(oldReader, [](ipstream& s) { s.readPointer(typeid(GTestItem)); }),
              "Unsupported old prefix in stream");

    Reader indexReader(std::string("\x01\x05\x00", 3));
    EXPECT_EQ(
        errorOf<InvalidPStreamIndex_Exception>(indexReader, [](ipstream& s) { s.readPointer(typeid(GTestItem)); }),
        "Can't find object with index=5. Class= GTestItem. Position=0");

    Reader typeReader("\x02" + frame);
    EXPECT_EQ(errorOf<NotBaseClass_Exception>(typeReader, [](ipstream& s) { s.readPointer(typeid(GTestItems)); }),
              "Can't read class 'GTestItem' as 'GTestItems'. Position=16");

    // Writing a new object needs a class that can be built again.
    GTestExtra::record.emplace(typeid(GTestExtra), "GTestExtra", nullptr, nullptr, &GTestItem::metaclass_);
    mpstream writer;
    auto abstract = catchException<AbstractClass_Exception>([&] {
        GTestExtra extra;
        writer.writePointer(&extra);
    });
    GTestExtra::Unregister();
    ASSERT_NE(abstract, nullptr);
    EXPECT_EQ(std::string(abstract->getMessage()), "Abstract class = GTestExtra");
}

TEST(ObjectStream, UnknownClassesAreSkipped) {
    GTestItem before(1, "before");
    GTestItem after(3, "after");
    mpstream stream;
    {
        GTestExtra::Register();
        GTestExtra extra;
        extra.value = 2;
        GTestItem inner(20, "inner"), other(21, "other");
        extra.children = {&inner, &other};
        after.next = &inner; // refers to an object written inside the unknown one
        stream.writePointer(&before);
        stream.writePointer(&extra);
        stream.writePointer(&after);
        stream.writePointer(&extra); // a back-reference to the unknown object
        stream.writePointer(&before);
        GTestExtra::Unregister();
    }
    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<GTestItem> first(stream.readPointer<GTestItem>());
    EXPECT_EQ(stream.readPointer(typeid(GTestItem)), nullptr);
    std::unique_ptr<GTestItem> third(stream.readPointer<GTestItem>());
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(std::string(third->name), "after");
    EXPECT_EQ(third->next, nullptr);
    EXPECT_EQ(stream.readPointer(typeid(GTestItem)), nullptr);
    EXPECT_EQ(stream.readPointer(typeid(GTestItem)), first.get()); // indices still match the writer's
}

TEST(ObjectStream, TheEndOfTheDataWhileSkippingIsAnError) {
    mpstream stream;
    GTestExtra::Register();
    {
        GTestExtra extra;
        stream.writePointer(&extra);
    }
    GTestExtra::Unregister();
    const std::string bytes = bytesOf(stream);
    // Cut before the suffix: the scan runs out.
    Reader beforeSuffix(bytes.substr(0, bytes.size() - 20));
    auto error =
        catchException<InvalidPStreamSuffix_Exception>([&] { beforeSuffix.stream.readPointer(typeid(GTestItem)); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->getClassName(), "GTestExtra");
    // Cut inside the closing name: reading the name runs out.
    Reader inName(bytes.substr(0, bytes.size() - 3));
    EXPECT_NE(catchException<InvalidPStream_Exception>([&] { inName.stream.readPointer(typeid(GTestItem)); }), nullptr);
}

TEST(ObjectStream, EveryTruncationFailsCleanly) {
    GTestItems items;
    for (int i = 0; i < 3; ++i)
        items.insert(new GTestItem(i, "item"));
    items.at(2)->next = items.at(0);
    mpstream stream;
    stream.writePointer(&items);
    const std::string bytes = bytesOf(stream);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Reader cut(bytes.substr(0, n));
        auto error = catchException<InvalidPStream_Exception>(
            [&] { std::unique_ptr<GStreamable> read(cut.stream.readPointer<GStreamable>()); });
        EXPECT_NE(error, nullptr) << n;
    }
}

TEST(ObjectStream, PeekingAtClassNames) {
    const GTestItem item(1, "peek");
    mpstream stream;
    stream.writePointer(&item);
    stream.writeStreamable(item);
    stream.writeByte(0);
    stream.seekg(0, GIO::FromBegin);
    EXPECT_EQ(std::string(stream.read_class_name_from_pointer()), "GTestItem");
    stream.seekg(static_cast<long>(1 + frameOf(item).size()), GIO::FromBegin);
    EXPECT_EQ(std::string(stream.read_class_name_from_reference()), "GTestItem");
    stream.seekg(-1, GIO::FromEnd);
    EXPECT_TRUE(stream.read_class_name_from_pointer().isEmpty());
    EXPECT_TRUE(stream.read_class_name_from_reference().isEmpty()); // at the end: no error either
}

TEST(ObjectStream, CollectionsCloneDeeply) {
    GTestItems items;
    items.insert(new GTestItem(1, "one"));
    items.insert(new GTestItem(2, "two"));
    items.at(1)->next = items.at(0);
    items.setDelta(3);
    std::unique_ptr<GTestItems> copy(static_cast<GTestItems*>(items.clone()));
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->getCount(), 2);
    EXPECT_NE(copy->at(0), items.at(0));
    EXPECT_EQ(std::string(copy->at(1)->name), "two");
    EXPECT_EQ(copy->at(1)->next, copy->at(0));
    EXPECT_EQ(copy->getDelta(), 3);
    EXPECT_TRUE(copy->ownsItems());
}

TEST(ObjectStream, SortedCollectionsKeepTheirFlagAndOrder) {
    GSortedCollection sorted(0, 4, false);
    sorted.setDuplicates(true);
    mpstream stream;
    stream.writeStreamable(sorted);
    GSortedCollection read;
    stream.seekg(0, GIO::FromBegin);
    stream.readStreamable(read);
    EXPECT_TRUE(read.getDuplicates());
    EXPECT_FALSE(read.ownsItems());
}

TEST(ObjectStream, ImpossibleCollectionSizesAreRejected) {
    mpstream stream;
    stream.writeBytes("\xB1\xB5\x0F\xCF", 4);
    stream.writeString("GCollection");
    stream.compat_writeDWord(5); // count
    stream.compat_writeDWord(2); // limit below it
    stream.compat_writeDWord(4);
    stream.writeByte(1);
    stream.seekg(0, GIO::FromBegin);
    GCollection target;
    auto error = catchException<InvalidPStream_Exception>([&] { stream.readStreamable(target); });
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error->getMessage()).find("count 5, limit 2"), std::string::npos);
}

TEST(ObjectStream, BitSets) {
    GBitSet bits(70);
    bits += 0;
    bits += 69;
    mpstream stream;
    stream << bits;
    EXPECT_EQ(hex(bytesOf(stream)), "46 00 00 00 03 00 00 00 20 00 00 00 00 00 00 00 01 00 00 00");
    stream.seekg(0, GIO::FromBegin);
    GBitSet read(5);
    stream >> read;
    EXPECT_TRUE(read == bits);
    EXPECT_EQ(read.getSize(), 70u);

    mpstream bad;
    bad.writeDWord(70);
    bad.writeDWord(1000000);
    bad.seekg(0, GIO::FromBegin);
    auto error = catchException<InvalidPStream_Exception>([&] { bad >> read; });
    EXPECT_NE(error, nullptr);
}
