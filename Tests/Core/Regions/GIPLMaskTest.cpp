#include "Regions/GIPLMask.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>
#include <sstream>

namespace {

RECT boundsOf(const GIPLMask& mask) {
    RECT r{-1, -1, -1, -1};
    mask.getBoundingRect(r);
    return r;
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void clear(GIPLMask& mask) {
    iplSet(mask.get_image(), 0);
}

// The smallest rectangle by testing every bit.
RECT boundsByBits(const GIPLMask& mask) {
    RECT r{mask.get_width(), mask.get_height(), 0, 0};
    for (int y = 0; y < mask.get_height(); ++y)
        for (int x = 0; x < mask.get_width(); ++x)
            if (mask.getBit(x, y))
                r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                     std::max<LONG>(r.bottom, y + 1)};
    return r.right > r.left ? r : RECT{0, 0, 0, 0};
}

} // namespace

TEST(GIPLMask, BitsLiveInTheHighBitFirst) {
    GIPLMask mask(20, 2);
    clear(mask);
    mask.setBit(8, 0, true);
    const auto* row = reinterpret_cast<const BYTE*>(mask.get_image()->imageData);
    EXPECT_EQ(row[1], 0x80);
    EXPECT_TRUE(mask.getBit(8, 0));
    EXPECT_FALSE(mask.getBit(9, 0));
    EXPECT_EQ(mask.get_image()->widthStep, 4); // rows padded to 4 bytes
    mask.setBit(8, 0, false);
    EXPECT_EQ(row[1], 0);

    std::ostringstream text;
    mask.setBit(0, 1, true);
    mask.setBit(2, 1, true);
    GIPLMask small(3, 2);
    clear(small);
    small.setBit(0, 1, true);
    small.setBit(2, 1, true);
    text << small;
    EXPECT_EQ(text.str(), "   \nX X\n");
}

TEST(GIPLMask, BoundingRectangles) {
    GIPLMask line(10, 1);
    clear(line);
    EXPECT_TRUE(boundsOf(line) == (RECT{0, 0, 0, 0}));
    line.setBit(9, 0, true);
    EXPECT_TRUE(boundsOf(line) == (RECT{9, 0, 10, 1}));
    EXPECT_TRUE(boundsOf(GIPLMask()) == (RECT{0, 0, 0, 0}));

    // Padding bits beyond the width never count.
    GIPLMask padded(10, 3);
    clear(padded);
    reinterpret_cast<BYTE*>(padded.get_image()->imageData)[1] = 0x3F; // bits 10..15 of row 0
    reinterpret_cast<BYTE*>(padded.get_image()->imageData)[3] = 0xFF; // row 0's padding byte
    EXPECT_TRUE(boundsOf(padded) == (RECT{0, 0, 0, 0}));

    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        const int width = 1 + static_cast<int>(random() % 150), height = 1 + static_cast<int>(random() % 20);
        GIPLMask mask(width, height);
        clear(mask);
        const int bits = static_cast<int>(random() % 4);
        for (int k = 0; k < bits; ++k)
            mask.setBit(static_cast<int>(random() % width), static_cast<int>(random() % height), true);
        ASSERT_TRUE(boundsOf(mask) == boundsByBits(mask)) << width << "x" << height;
    }
}

TEST(GIPLMask, TheWidestMaskHasItsBounds) {
    GIPLMask wide(INT_MAX, 1); // 256 MiB of bits
    ASSERT_NE(wide.get_image(), nullptr);
    clear(wide);
    wide.setBit(INT_MAX - 1, 0, true);
    EXPECT_TRUE(boundsOf(wide) == (RECT{INT_MAX - 1, 0, INT_MAX, 1}));
}

TEST(GIPLMask, CopiesAreDeep) {
    GIPLMask a(9, 3);
    clear(a);
    a.setBit(4, 2, true);
    GIPLMask b(a);
    b.setBit(4, 2, false);
    EXPECT_TRUE(a.getBit(4, 2));
    GIPLMask c(2, 2);
    c = a;
    EXPECT_EQ(c.get_width(), 9);
    EXPECT_TRUE(c.getBit(4, 2));
    EXPECT_NE(c.get_section(), a.get_section());
    c.resize(9, 3); // the same size keeps the bits
    EXPECT_TRUE(c.getBit(4, 2));
    c.resize(0, 3);
    EXPECT_TRUE(c.is_empty());
}

TEST(GIPLMask, StreamsAndReadsOlderVersions) {
    GIPLMask mask(33, 3);
    clear(mask);
    mask.setBit(0, 0, true);
    mask.setBit(32, 2, true);
    mpstream stream;
    stream.writePointer(&mask);
    GIPLMask empty;
    stream.writePointer(&empty);
    stream.seekg(0, GIO::FromBegin);
    std::unique_ptr<GIPLMask> read(stream.readPointer<GIPLMask>());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->get_width(), 33);
    ASSERT_EQ(read->get_height(), 3);
    EXPECT_TRUE(read->getBit(0, 0));
    EXPECT_TRUE(read->getBit(32, 2));
    EXPECT_FALSE(read->getBit(32, 0));
    std::unique_ptr<GIPLMask> readEmpty(stream.readPointer<GIPLMask>());
    EXPECT_TRUE(readEmpty->is_empty());

    // Version 0: the image part's byte only, no buffer size, rows bottom up.
    for (BYTE version : {0, 1, 2}) {
        mpstream old;
        old.writeByte(version);
        old.writeByte(0);
        old.writeByte(1);
        old.writeDWord(3);
        old.writeDWord(2);
        if (version == 2)
            old.writeDWord(8);
        const BYTE rows[8] = {0x80, 0, 0, 0, 0x20, 0, 0, 0}; // stored row 0: bit 0; row 1: bit 2
        old.writeBytes(rows, 8);
        old.seekg(0, GIO::FromBegin);
        GIPLMask target(5, 5);
        target.read(old);
        ASSERT_EQ(target.get_width(), 3);
        EXPECT_EQ(target.getBit(0, 0), version != 0) << int(version);
        EXPECT_EQ(target.getBit(2, 0), version == 0) << int(version);
    }
}

TEST(GIPLMask, HostileStreamsFailWithoutAllocating) {
    mpstream huge;
    huge.writeByte(3);
    huge.writeByte(0);
    huge.writeByte(0);
    huge.writeByte(1);
    huge.writeDWord(0xFFFF);
    huge.writeDWord(0xFFFF);
    huge.writeDWord(0);
    huge.writeBytes("\xFF\xFF", 2);
    huge.seekg(0, GIO::FromBegin);
    GIPLMask mask(2, 2);
    EXPECT_NE(catchException<InvalidPStream_Exception>([&] { mask.read(huge); }), nullptr);

    mpstream wide;
    wide.writeByte(3);
    wide.writeByte(0);
    wide.writeByte(0);
    wide.writeByte(1);
    wide.writeDWord(0x10000);
    wide.writeDWord(1);
    wide.seekg(0, GIO::FromBegin);
    EXPECT_NE(catchException<InvalidPStream_Exception>([&] { mask.read(wide); }), nullptr);
}
