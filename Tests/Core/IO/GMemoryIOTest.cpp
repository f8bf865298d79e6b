#include "IO/GMemoryIO.h"

#include "IO/GIOException.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(GMemoryIO, OwnBlockGrowsToTwiceTheNeed) {
    GMemoryIO io;
    io.open(10);
    EXPECT_TRUE(io.expandable());
    const char data[] = "fifteen bytes!!";
    EXPECT_EQ(io.gwrite(data, 15), 15u);
    EXPECT_EQ(io.length(), 15u);
    EXPECT_EQ(io.gtell(), 15);
    char more[20];
    std::memset(more, 'm', sizeof more);
    EXPECT_EQ(io.gwrite(more, 16), 16u); // 31 > 30: grows to 62
    EXPECT_EQ(io.length(), 31u);

    EXPECT_EQ(io.gseek(0, GIO::FromBegin), 0);
    char back[15];
    EXPECT_EQ(io.gread(back, sizeof back), 15u);
    EXPECT_EQ(std::memcmp(back, data, 15), 0);

    void* block = io.detach();
    EXPECT_EQ(io.length(), 0u);
    std::free(block);
}

TEST(GMemoryIO, GrowthFromNothing) {
    GMemoryIO io;
    EXPECT_EQ(io.gwrite("abc", 3), 3u);
    io.gseek(1, GIO::FromBegin);
    EXPECT_EQ(io.gwrite("XY", 2), 2u); // overwrites inside the data
    EXPECT_EQ(io.length(), 3u);
    EXPECT_EQ(std::memcmp(io.buffer(), "aXY", 3), 0);
}

TEST(GMemoryIO, FixedBlockTakesWhatFits) {
    char block[8] = {};
    GMemoryIO io;
    io.open(block, sizeof block, GIO::ReadWrite);
    EXPECT_FALSE(io.expandable());
    EXPECT_EQ(io.gwrite("0123456789AB", 12), 8u);
    EXPECT_EQ(io.gtell(), 8);
    EXPECT_EQ(std::memcmp(block, "01234567", 8), 0);
    io.close(); // the caller's block is not freed
}

TEST(GMemoryIO, SeeksStayInsideTheData) {
    char block[6] = "hello";
    GMemoryIO io;
    io.open(block, 5, GIO::ReadOnly);
    io.gseek(2, GIO::FromBegin);
    EXPECT_EQ(io.gseek(-1, GIO::FromBegin), -1);
    EXPECT_EQ(io.gseek(1, GIO::FromEnd), -1);
    EXPECT_EQ(io.gtell(), 2);
    EXPECT_EQ(io.gseek(-1, GIO::FromEnd), 4);
    EXPECT_EQ(io.gseek(-4, GIO::FromCurrent), 0);
    EXPECT_EQ(io.gseek(5, GIO::FromBegin), 5);
    char c;
    EXPECT_EQ(io.gread(&c, 1), 0u);
}

TEST(GMemoryIO, ModesAreEnforced) {
    char block[4] = "abc";
    GMemoryIO readOnly;
    readOnly.open(block, 3, GIO::ReadOnly);
    auto writeError = catchException<GWriteToReadOnlyException>([&] { readOnly.gwrite("x", 1); });
    ASSERT_NE(writeError, nullptr);
    EXPECT_EQ(std::string(writeError->getMessage()), "Attempt writing to read-only file/buffer");

    GMemoryIO writeOnly;
    writeOnly.open(block, 3, GIO::WriteOnly);
    char c;
    auto readError = catchException<GReadFromWriteOnlyException>([&] { writeOnly.gread(&c, 1); });
    ASSERT_NE(readError, nullptr);
    EXPECT_EQ(std::string(readError->getMessage()), "Attempt reading of write-only file/buffer");
}
