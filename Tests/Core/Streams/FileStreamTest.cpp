#include "Core/Streams/StreamTestClasses.h"
#include "IO/GIOException.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/fpstream.h"
#include "Streams/mpstream.h"
#include "Streams/zpstream.h"
#include "Support/ExceptionTesting.h"
#include "Support/TempDirectory.h"

#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <zlib.h>

namespace {

// Inflates raw deflate data with zlib directly, as any other reader of the format would.
std::string rawInflate(const std::string& compressed) {
    z_stream z{};
    inflateInit2(&z, -15);
    std::string out(1 << 20, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(compressed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    return result == Z_STREAM_END ? out : "(not a complete raw deflate stream)";
}

// Objects stay alive as long as the stream that wrote or read them: the streams know them by address.
std::unique_ptr<GTestItems> sample(int items) {
    auto list = std::make_unique<GTestItems>();
    for (int i = 0; i < items; ++i)
        list->insert(new GTestItem(i, "a fairly repetitive name for every item"));
    return list;
}

void writeSample(opstream& stream, const GTestItems& list) {
    stream.writePointer(&list);
}

std::unique_ptr<GTestItems> readSample(ipstream& stream) {
    return std::unique_ptr<GTestItems>(stream.readPointer<GTestItems>());
}

int countOf(const std::unique_ptr<GTestItems>& list) {
    return list ? list->getCount() : -1;
}

} // namespace

TEST(FileStream, WriteAndReadAFile) {
    TempDirectory folder;
    const auto path = folder.path() / "scene.bin";
    {
        ofpstream out(path.c_str());
        ASSERT_TRUE(out.is_open());
        EXPECT_EQ(out.io_mode(), GIO::WriteOnly);
        writeSample(out, *sample(50));
        out << 1234;
    }
    ifpstream in(path.c_str());
    ASSERT_TRUE(in.is_open());
    EXPECT_EQ(countOf(readSample(in)), 50);
    int tail = 0;
    in >> tail;
    EXPECT_EQ(tail, 1234);
    EXPECT_NE(in.getFileIO(), nullptr);
    in.close();
    EXPECT_FALSE(in.is_open());

    fpstream both(path.c_str());
    both.change_size(10);
    EXPECT_EQ(both.getFileIO()->gseek(0, GIO::FromEnd), 10);
    EXPECT_FALSE(ifpstream((folder.path() / "absent").c_str()).is_open());
}

TEST(FileStream, MemoryStreamsOverTheCallersBlock) {
    char block[64] = {};
    {
        ompstream out(block, sizeof block);
        out << 7 << true;
        out.flush();
    }
    impstream in(block, sizeof block);
    int value = 0;
    bool flag = false;
    in >> value >> flag;
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(flag);

    mpstream own;
    own << 1;
    void* detached = own.detach();
    EXPECT_EQ(*static_cast<int*>(detached), 1);
    std::free(detached);
}

TEST(CompressedStream, PlainAndCompressedPiecesInterleave) {
    TempDirectory folder;
    const auto path = folder.path() / "mixed.bin";
    long compressedStart = 0;
    long compressedEnd = 0;
    const auto big = sample(200);
    const auto small = sample(3);
    {
        ozpstream out(path.c_str());
        out.turn_to_norm();
        out << 11;
        compressedStart = out.turn_to_comp(true);
        EXPECT_TRUE(out.is_comp());
        writeSample(out, *big);
        compressedEnd = out.turn_to_norm();
        out.writeDWord(0xA1B2C3D4); // plain bytes right behind the compressed ones
        out.turn_to_comp(true);
        writeSample(out, *small);
    }
    const std::string file = readFile(path);
    EXPECT_EQ(compressedStart, 4);
    EXPECT_LT(compressedEnd - compressedStart, 2000); // 200 items compress well
    EXPECT_EQ(file.substr(static_cast<std::size_t>(compressedEnd), 4), "\xD4\xC3\xB2\xA1");

    // The compressed piece is a standard raw deflate stream holding the plain stream's bytes.
    mpstream plain;
    writeSample(plain, *big);
    EXPECT_EQ(rawInflate(file.substr(4, static_cast<std::size_t>(compressedEnd - compressedStart))), bytesOf(plain));

    izpstream in(path.c_str());
    in.turn_to_norm();
    int head = 0;
    in >> head;
    EXPECT_EQ(head, 11);
    in.turn_to_comp(true);
    const auto readBig = readSample(in);
    EXPECT_EQ(countOf(readBig), 200);
    // Reading stopped inside the read-ahead; the device stands right behind the compressed data.
    EXPECT_EQ(in.turn_to_norm(), compressedEnd);
    EXPECT_EQ(in.readDWord(), 0xA1B2C3D4u);
    in.turn_to_comp(true);
    EXPECT_EQ(countOf(readSample(in)), 3);
}

TEST(CompressedStream, LevelZeroIsThePlainStream) {
    TempDirectory folder;
    const auto path = folder.path() / "level0.bin";
    {
        ozpstream out(path.c_str());
        out.compression_level(0);
        EXPECT_FALSE(out.is_comp());
        writeSample(out, *sample(30));
    }
    mpstream plain;
    writeSample(plain, *sample(30));
    EXPECT_EQ(readFile(path), bytesOf(plain));

    izpstream in(path.c_str());
    in.compression_level(0);
    EXPECT_EQ(countOf(readSample(in)), 30);
}

TEST(CompressedStream, LevelsAndSmallBuffers) {
    for (int level : {1, 9}) {
        auto* device = new GCompressionIO(new GMemoryIO, 7);
        device->compression_level(level);
        iopstream stream(device);
        const std::string text(100000, 'z');
        stream.writeString(text.c_str());
        stream.writeString("tail");
        stream.seekg(0, GIO::FromBegin);
        std::unique_ptr<char[]> back(stream.readString());
        EXPECT_EQ(std::string(back.get()), text);
        std::unique_ptr<char[]> tail(stream.readString());
        EXPECT_STREQ(tail.get(), "tail");
    }
}

TEST(CompressedStream, ACorruptedBlockIsADataError) {
    TempDirectory folder;
    const auto path = folder.path() / "corrupt.bin";
    {
        ozpstream out(path.c_str());
        writeSample(out, *sample(100));
    }
    std::string file = readFile(path);
    for (std::size_t i = 0; i < 4; ++i)
        file[i] = static_cast<char>(0xFF); // an invalid block type
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

    izpstream in(path.c_str());
    auto error = catchException<GCompressionException>([&] { readSample(in); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "ZLib: data error");
    EXPECT_EQ(error->getCode(), Z_DATA_ERROR);
}

// Cut compressed data reads as the end of the data, reported by the stream with its position (zlib itself would
// only say "buffer error").
TEST(CompressedStream, CutDataIsAnUnexpectedEndOfTheStream) {
    TempDirectory folder;
    const auto path = folder.path() / "cut.bin";
    {
        ozpstream out(path.c_str());
        writeSample(out, *sample(100));
    }
    const std::string file = readFile(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file.substr(0, file.size() / 2);

    izpstream in(path.c_str());
    auto error = catchException<InvalidPStream_Exception>([&] { readSample(in); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()).rfind("Unexpected end of stream. Position=", 0), 0u);
}
