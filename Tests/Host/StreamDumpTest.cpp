#include "StreamDump.h"

#include "Core/Streams/StreamTestClasses.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> bytesWritten(mpstream& stream) {
    const auto* p = static_cast<const unsigned char*>(stream.data());
    return {p, p + stream.length()};
}

std::string dumpOf(const std::vector<unsigned char>& data, std::size_t base = 0) {
    std::ostringstream out;
    StreamDump(data, base, out).run();
    return out.str();
}

} // namespace

TEST(StreamDump, ShowsFramesPointersAndReferences) {
    GTestItem first(1, "one");
    GTestItem second(2, "two");
    second.next = &first;
    first.next = &second;
    mpstream stream;
    stream.writePointer(&first);
    stream.writePointer(&second);
    stream.writePointer(nullptr);
    EXPECT_EQ(dumpOf(bytesWritten(stream)), "       0  pointer: new object\n"
                                            "       1  frame GTestItem #1, 92 bytes\n"
                                            "      16    bytes 10: 01 01 00 00 00 03 00 6F 6E 65\n"
                                            "      26    pointer: new object\n"
                                            "      27    frame GTestItem #2, 47 bytes\n"
                                            "      42      bytes 13: 01 02 00 00 00 03 00 74 77 6F 01 01 00\n"
                                            "      55    end GTestItem\n"
                                            "      74  end GTestItem\n"
                                            "      93  pointer: reference to #2 GTestItem\n"
                                            "      96  pointer: null\n");
}

// A back-reference takes three bytes whatever its class name's length: the dump names the class in full once, at
// its frame, so what it prints grows in proportion to the data.
TEST(StreamDump, NamesAClassOnceHoweverOftenItIsReferredTo) {
    const std::string name(5000, 'N');
    mpstream stream;
    stream.writeByte(StreamFormat::NewObject);
    stream.writeBytes(StreamFormat::PrefixMarker, 4);
    stream.writeString(name.c_str());
    stream.writeBytes(StreamFormat::SuffixMarker, 4);
    const DWORD length = 4 + 2 + static_cast<DWORD>(name.size()) + 4;
    stream.writeBytes(&length, 4);
    stream.writeString(name.c_str());
    for (int i = 0; i < 1000; ++i) {
        stream.writeByte(StreamFormat::BackReference);
        stream.writeWord(1);
    }
    const std::vector<unsigned char> data = bytesWritten(stream);
    const std::string dump = dumpOf(data);
    EXPECT_NE(dump.find("pointer: reference to #1 " + name.substr(0, 40) + "...\n"), std::string::npos);
    EXPECT_LT(dump.size(), 40 * data.size());
}

TEST(StreamDump, MarksUnknownClassesAndCountsFromTheOffset) {
    mpstream stream;
    stream.writeDWord(0xFFFFFFFF);
    GTestExtra::Register();
    {
        GTestExtra extra;
        stream.writePointer(&extra);
    }
    GTestExtra::Unregister();
    std::vector<unsigned char> data = bytesWritten(stream);
    data.erase(data.begin(), data.begin() + 4);
    const std::string text = dumpOf(data, 4);
    EXPECT_NE(text.find("       4  pointer: new object\n"), std::string::npos) << text;
    EXPECT_NE(text.find("frame GTestExtra #1, 48 bytes, class unknown here: skipped when read"), std::string::npos)
        << text;
}

TEST(StreamDump, MalformedFramesAreStreamErrors) {
    GTestItem item(1, "x");
    mpstream stream;
    stream.writePointer(&item);
    std::vector<unsigned char> data = bytesWritten(stream);
    data.resize(data.size() - 2);
    auto error = catchException<InvalidPStream_Exception>([&] { dumpOf(data); });
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error->getMessage()).find("Invalid suffix in stream"), std::string::npos);

    // A suffix with the right length but another name.
    data = bytesWritten(stream);
    data.back() = 'X';
    EXPECT_NE(catchException<InvalidPStreamSuffix_Exception>([&] { dumpOf(data); }), nullptr);
}

TEST(StreamDump, GoesAsDeepAsTheReaderAndNoDeeper) {
    const auto bytesOfChain = [](int length) {
        const std::string text = chainStream(length);
        return std::vector<unsigned char>(text.begin(), text.end());
    };
    const std::string deepest = dumpOf(bytesOfChain(StreamFormat::MaxDepth));
    EXPECT_NE(deepest.find("frame GTestItem #1000"), std::string::npos);
    auto error = catchException<InvalidPStream_Exception>([&] { dumpOf(bytesOfChain(StreamFormat::MaxDepth + 1)); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()).rfind("Objects nested too deeply", 0), 0u);
}
