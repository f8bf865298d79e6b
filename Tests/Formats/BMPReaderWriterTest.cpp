#include "Bmp/BMPReaderWriter.h"
#include "Formats/FormatTesting.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace {

std::uint32_t le32At(const std::string& bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24;
}

// Pixel (x, y) of an uncompressed 24-bit file, worked out from its bytes.
DWORD pixel24(const std::string& bytes, int x, int y) {
    const auto width = static_cast<std::int32_t>(le32At(bytes, 18));
    const auto height = static_cast<std::int32_t>(le32At(bytes, 22));
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const int fileRow = height < 0 ? y : height - 1 - y;
    const std::size_t at =
        le32At(bytes, 10) + static_cast<std::size_t>(fileRow) * rowBytes + static_cast<std::size_t>(x) * 3;
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
    return 0xFF000000u | static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[1]) << 8 | p[0];
}

ReadOutcome readFile(const std::filesystem::path& path) {
    BMPReaderWriter format;
    return readWith(format, fileBytes(path));
}

} // namespace

TEST(BMPReaderWriter, WhatItWritesReadsBackExactly) {
    BMPReaderWriter format;
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 33}}) {
        const GDIBImage picture = samplePicture(width, height, 5);
        const std::string bytes = writeWith(format, picture);
        ASSERT_EQ(bytes.size(), 122u + 4u * width * height);
        EXPECT_EQ(le32At(bytes, 2), bytes.size());
        impstream stream(bytes.data(), bytes.size());
        EXPECT_TRUE(format.is(stream));
        stream.seekg(0, GIO::FromBegin);
        FileImageInfo info;
        ASSERT_TRUE(format.read_info(stream, info));
        EXPECT_EQ(info.width, width);
        EXPECT_EQ(info.height, height);
        const ReadOutcome back = readWith(format, bytes);
        ASSERT_TRUE(back.read);
        EXPECT_TRUE(samePixels(back.image, picture));
    }
    EXPECT_EQ(writeWith(format, GDIBImage()), "");
}

TEST(BMPReaderWriter, GoodFilesLoadAtTheirHeaderSize) {
    std::vector<std::filesystem::path> files = testFiles("bmp/bmpsuite/g");
    for (const auto& file : testFiles("bmp/bmptestsuite/valid"))
        files.push_back(file);
    for (const char* name : {"ljt-vgl_6434_0018a.bmp", "pil-hopper_rle8.bmp"})
        files.push_back(testDataRoot() / "bmp/misc" / name);
    ASSERT_EQ(files.size(), 31u);
    for (const auto& path : files) {
        const std::string bytes = fileBytes(path);
        const ReadOutcome outcome = readFile(path);
        ASSERT_TRUE(outcome.read) << path;
        const auto headerSize = le32At(bytes, 14);
        const int width =
            headerSize == 12 ? static_cast<int>(le32At(bytes, 18) & 0xFFFF) : static_cast<int>(le32At(bytes, 18));
        const int height = headerSize == 12 ? static_cast<int>(le32At(bytes, 18) >> 16)
                                            : std::abs(static_cast<std::int32_t>(le32At(bytes, 22)));
        EXPECT_EQ(outcome.image.get_width(), width) << path;
        EXPECT_EQ(outcome.image.get_height(), height) << path;
        for (int y = 0; y < height; ++y)
            EXPECT_EQ(outcome.image.get_pixel(width - 1, y) >> 24, 0xFFu) << path; // no alpha: opaque
    }
}

TEST(BMPReaderWriter, PixelsComeFromTheFilesBytes) {
    for (const char* name : {"bmp/bmpsuite/g/rgb24.bmp", "bmp/bmptestsuite/valid/24bpp-321x240.bmp",
                             "bmp/bmptestsuite/valid/24bpp-topdown-320x240.bmp", "bmp/misc/ljt-vgl_6434_0018a.bmp"}) {
        const auto path = testDataRoot() / name;
        const std::string bytes = fileBytes(path);
        const ReadOutcome outcome = readFile(path);
        ASSERT_TRUE(outcome.read) << name;
        const int w = outcome.image.get_width(), h = outcome.image.get_height();
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{w / 2, h / 2}, std::pair{0, h - 1}})
            EXPECT_EQ(outcome.image.get_pixel(x, y), pixel24(bytes, x, y)) << name << " " << x << "," << y;
    }
    // The same picture stored as 8-bit indices, with an OS/2 header, with a V4 header and run-length coded.
    const auto suite = testDataRoot() / "bmp/bmpsuite/g";
    const ReadOutcome indexed = readFile(suite / "pal8.bmp");
    for (const char* same : {"pal8os2.bmp", "pal8v4.bmp", "pal8rle.bmp"})
        EXPECT_TRUE(samePixels(readFile(suite / same).image, indexed.image)) << same;
    // 16-bit 5-5-5: white stays white.
    const ReadOutcome sixteen = readFile(suite / "rgb16.bmp");
    std::set<DWORD> colours;
    for (int y = 0; y < sixteen.image.get_height(); ++y)
        for (int x = 0; x < sixteen.image.get_width(); ++x)
            colours.insert(sixteen.image.get_pixel(x, y));
    EXPECT_EQ(colours.count(0xFFFFFFFF), 1u);
}

// Files that must not crash: none does, and those that cannot make a whole picture are refused.
TEST(BMPReaderWriter, BrokenFilesFailCleanly) {
    std::vector<std::filesystem::path> files = testFiles({"bmp/bmpsuite/b", "bmp/bmptestsuite/corrupt"});
    for (const char* name : {"pil-clipboard.dib", "pil-hopper_rle8_row_overflow.bmp"})
        files.push_back(testDataRoot() / "bmp/misc" / name);
    // Run-length data that breaks off or runs past rows is decoded as far as it goes (a documented partial load).
    const std::set<std::string> partial = {"badrle.bmp",
                                           "badrle4bis.bmp",
                                           "badrleter.bmp",
                                           "rle4-runlength-cropped.bmp",
                                           "rle8-deltaleavesimage.bmp",
                                           "rle8-no-end-of-line-marker.bmp",
                                           "pil-hopper_rle8_row_overflow.bmp",
                                           "baddens1.bmp",
                                           "badfilesize.bmp",
                                           "badpalettesize.bmp",
                                           "rgb16-880.bmp",
                                           "8bpp-colorsused-negative.bmp",
                                           "palette-too-big.bmp"};
    for (const auto& path : files) {
        const ReadOutcome outcome = readFile(path);
        const bool loads = partial.count(path.filename().string()) != 0;
        EXPECT_EQ(outcome.read, loads) << path;
        EXPECT_FALSE(outcome.raised) << path;
    }
}

// The questionable files, decided: what this reader can picture faithfully it takes.
TEST(BMPReaderWriter, QuestionableFilesAsDecided) {
    const std::map<std::string, bool> decided = {{"pal1p1.bmp", true},
                                                 {"pal2.bmp", true},
                                                 {"pal4rlecut.bmp", true},
                                                 {"pal4rletrns.bmp", true},
                                                 {"pal8os2-sz.bmp", true},
                                                 {"pal8os2v2-sz.bmp", true},
                                                 {"pal8os2v2.bmp", true},
                                                 {"pal8oversizepal.bmp", true},
                                                 {"rgb16-231.bmp", true},
                                                 {"rgb16faketrns.bmp", true},
                                                 {"rgb24jpeg.bmp", false},
                                                 {"rgb24lprof.bmp", true},
                                                 {"rgb24prof2.bmp", true},
                                                 {"rgb32-111110.bmp", true},
                                                 {"rgb32-xbgr.bmp", true},
                                                 {"rgb32h52.bmp", true},
                                                 {"rgba16-4444.bmp", true},
                                                 {"rgba32-1.bmp", true},
                                                 {"rgba32-1010102.bmp", true},
                                                 {"rgba32-81284.bmp", true},
                                                 {"rgba32h56.bmp", true},
                                                 {"32bpp-0x0.bmp", false},
                                                 {"8bpp-pixels-not-in-palette.bmp", true},
                                                 {"filesize-zero.bmp", true},
                                                 {"pels-per-meter-x-negative.bmp", true},
                                                 {"reserved1-bad.bmp", true},
                                                 {"rle4-no-end-of-bitmap-marker.bmp", true},
                                                 {"rle8-height-negative.bmp", true}};
    BMPReaderWriter format;
    expectDecisions(format, testFiles({"bmp/bmpsuite/q", "bmp/bmptestsuite/questionable"}), decided);
    // Alpha masks give alpha; a 4-bit alpha of 15 is opaque.
    const auto suite = testDataRoot() / "bmp/bmpsuite/q";
    const ReadOutcome alpha = readFile(suite / "rgba32-1.bmp");
    std::set<DWORD> alphas;
    for (int y = 0; y < alpha.image.get_height(); ++y)
        for (int x = 0; x < alpha.image.get_width(); ++x)
            alphas.insert(alpha.image.get_pixel(x, y) >> 24);
    EXPECT_GT(alphas.size(), 1u);
}

namespace {

// An 8-bit RLE file of width x height with a palette of black and white, whose codes are `codes`.
std::string rle8File(int width, int height, const std::string& codes) {
    std::string bytes(14 + 40 + 8, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size() + codes.size()));
    put32(10, static_cast<std::uint32_t>(bytes.size()));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put32(26, 1 | 8 << 16); // one plane, 8 bits
    put32(30, 1);           // RLE8
    put32(34, static_cast<std::uint32_t>(codes.size()));
    put32(46, 2); // colours used
    put32(58, 0x00FFFFFF);
    return bytes + codes;
}

} // namespace

// Run-length data that ends before its end code reads as far as it goes and says so; the pixels codes do not set
// come out of the stream's budget before the picture is made, whatever the header claims.
TEST(BMPReaderWriter, RunLengthPicturesAreBoundedByTheirCodes) {
    BMPReaderWriter format;
    const std::string whole = rle8File(4, 2, std::string("\x04\x01\x00\x00\x04\x01\x00\x01", 8));
    const ReadOutcome complete = readWith(format, whole);
    ASSERT_TRUE(complete.read);
    EXPECT_FALSE(complete.cutShort);
    EXPECT_EQ(complete.image.get_pixel(3, 0), 0xFFFFFFFFu);

    const ReadOutcome cut = readWith(format, rle8File(4, 2, std::string("\x04\x01\x00\x00", 4)));
    ASSERT_TRUE(cut.read);
    EXPECT_TRUE(cut.cutShort);
    EXPECT_EQ(cut.image.get_pixel(3, 1), 0xFFFFFFFFu); // the bottom row, first in the file
    EXPECT_EQ(cut.image.get_pixel(3, 0), 0xFF000000u);

    const ReadOutcome huge = readWith(format, rle8File(16384, 16384, std::string("\x00\x01", 2)));
    EXPECT_TRUE(huge.raised);
    EXPECT_EQ(huge.image.get_width(), 0);

    // Two pictures of 4096 x 5000 unset pixels in one stream: the second is past the budget both share.
    const std::string empty = rle8File(4096, 5000, std::string("\x00\x01", 2));
    const std::string both = empty + empty;
    impstream stream(both.data(), both.size());
    GDIBImage first;
    GDIBImage second;
    EXPECT_TRUE(format.read_image(stream, first));
    EXPECT_NE(catchException<CException>([&] { format.read_image(stream, second); }), nullptr);
    EXPECT_EQ(second.get_width(), 0);
}
