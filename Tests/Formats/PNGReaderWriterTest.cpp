#include "Png/PNGReaderWriter.h"
#include "Formats/FormatTesting.h"
#include "Streams/mpstream.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

// A PNG written with libpng itself: rows of raw samples in the given colour type and depth.
struct RawPng {
    RawPng(int w, int h, int type, int depth) : width(w), height(h), colorType(type), bitDepth(depth) {}
    int width, height, colorType, bitDepth;
    bool interlaced = false;
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;
};

void appendBytes(png_structp png, png_bytep data, png_size_t n) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}

std::string encode(const RawPng& raw) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(raw.width), static_cast<png_uint_32>(raw.height), raw.bitDepth,
                 raw.colorType, raw.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!raw.palette.empty())
        png_set_PLTE(png, info, raw.palette.data(), static_cast<int>(raw.palette.size()));
    if (!raw.transparency.empty())
        png_set_tRNS(png, info, raw.transparency.data(), static_cast<int>(raw.transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : raw.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The file with the width and height of its header set to `side`, and the header's check value to match.
std::string withSide(std::string png, int side) {
    for (int at : {16, 20}) { // width and height, big-endian
        png[static_cast<std::size_t>(at + 2)] = static_cast<char>(side >> 8);
        png[static_cast<std::size_t>(at + 3)] = static_cast<char>(side);
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    for (int i = 0; i < 4; ++i)
        png[static_cast<std::size_t>(29 + i)] = static_cast<char>(crc >> (24 - 8 * i));
    return png;
}

GDIBImage decoded(const std::string& bytes) {
    PNGReaderWriter format;
    ReadOutcome outcome = readWith(format, bytes);
    EXPECT_TRUE(outcome.read);
    return std::move(outcome.image);
}

} // namespace

TEST(PNGReaderWriter, WhatItWritesReadsBackExactly) {
    PNGReaderWriter format;
    const GDIBImage picture = samplePicture(37, 21, 9);
    const std::string bytes = writeWith(format, picture);
    impstream stream(bytes.data(), bytes.size());
    EXPECT_TRUE(format.is(stream));
    stream.seekg(0, GIO::FromBegin);
    FileImageInfo info;
    ASSERT_TRUE(format.read_info(stream, info));
    EXPECT_EQ(info.width, 37);
    EXPECT_EQ(info.height, 21);
    EXPECT_TRUE(samePixels(decoded(bytes), picture));
}

TEST(PNGReaderWriter, EveryColourTypeBecomesEightBitBgra) {
    // Grey, 1 bit: black and white.
    RawPng grey1{9, 2, PNG_COLOR_TYPE_GRAY, 1};
    grey1.rows = {{0b10000000, 0b10000000}, {0b01111111, 0b10000000}};
    GDIBImage image = decoded(encode(grey1));
    EXPECT_EQ(image.get_pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(image.get_pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(image.get_pixel(8, 1), 0xFFFFFFFFu);

    // A palette with transparency for some entries.
    RawPng indexed{3, 1, PNG_COLOR_TYPE_PALETTE, 8};
    indexed.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    indexed.transparency = {0, 128};
    indexed.rows = {{0, 1, 2}};
    image = decoded(encode(indexed));
    EXPECT_EQ(image.get_pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(image.get_pixel(1, 0), 0x8000FF00u);
    EXPECT_EQ(image.get_pixel(2, 0), 0xFF0000FFu);

    // 16-bit RGB, scaled to 8 bits.
    RawPng deep{1, 1, PNG_COLOR_TYPE_RGB, 16};
    deep.rows = {{0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00}};
    EXPECT_EQ(decoded(encode(deep)).get_pixel(0, 0), 0xFFFF8000u);

    // Interlaced grey with alpha.
    RawPng interlaced{5, 5, PNG_COLOR_TYPE_GRAY_ALPHA, 8};
    interlaced.interlaced = true;
    for (int y = 0; y < 5; ++y) {
        std::vector<png_byte> row;
        for (int x = 0; x < 5; ++x) {
            row.push_back(static_cast<png_byte>(x * 50));
            row.push_back(static_cast<png_byte>(y * 60));
        }
        interlaced.rows.push_back(row);
    }
    image = decoded(encode(interlaced));
    EXPECT_EQ(image.get_pixel(4, 3), 0xB4C8C8C8u);
    EXPECT_EQ(image.get_pixel(2, 0), 0x00646464u);
}

// A file cut before its pixel data fails; one cut inside it reads as far as it goes and says so.
TEST(PNGReaderWriter, DamagedFilesFailCleanly) {
    PNGReaderWriter format;
    const std::string whole = writeWith(format, samplePicture(40, 30, 3));
    const std::size_t pixelData = whole.find("IDAT") + 4;
    const std::size_t pixelEnd = whole.find("IEND") - 8; // before the data's check value and the end's length
    for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
        const ReadOutcome outcome = readWith(format, whole.substr(0, cut));
        EXPECT_EQ(outcome.read, cut >= pixelData) << cut;
        if (cut < pixelEnd) {
            EXPECT_EQ(outcome.cutShort, cut >= pixelData) << cut;
        }
        EXPECT_FALSE(outcome.raised) << cut;
    }
    EXPECT_FALSE(readWith(format, whole).cutShort);
    std::string corrupt = whole;
    for (std::size_t i = 60; i < corrupt.size(); i += 13)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    EXPECT_FALSE(readWith(format, corrupt).read);
    // A header that claims more pixels than the limit (20000 x 20000) is refused before anything is made for them.
    RawPng small{1, 1, PNG_COLOR_TYPE_GRAY, 8};
    small.rows = {{0}};
    const std::string big = withSide(encode(small), 20000);
    EXPECT_FALSE(readWith(format, big).read);
    impstream header(big.data(), big.size());
    FileImageInfo info;
    EXPECT_FALSE(format.read_info(header, info));
}

// A header of 16384 x 16384 within the picture limit, with a few bytes of data: refused before it is made.
TEST(PNGReaderWriter, SmallFilesCannotClaimHugePictures) {
    PNGReaderWriter format;
    const ReadOutcome outcome = readWith(format, withSide(writeWith(format, samplePicture(1, 1, 3)), 16384));
    EXPECT_TRUE(outcome.raised);
    EXPECT_EQ(outcome.image.get_width(), 0);
}
