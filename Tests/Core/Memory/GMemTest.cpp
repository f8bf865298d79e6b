#include "Memory/gmem.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GMem, CRC32) {
    EXPECT_EQ(g_mem_CRC32("123456789", 9, 0), 0xCBF43926u);
    const DWORD first = g_mem_CRC32("1234", 4, 0);
    EXPECT_EQ(g_mem_CRC32("56789", 5, first), 0xCBF43926u);
    EXPECT_EQ(g_mem_CRC32("", 0, 0), 0u);
}

TEST(GMem, FindAndFill) {
    const BYTE zeros[4] = {0, 0, 0, 0};
    EXPECT_EQ(g_mem_find_not_equal_1(zeros, 0, 4), nullptr);
    const BYTE bytes[5] = {7, 7, 7, 9, 7};
    EXPECT_EQ(g_mem_find_not_equal_1(bytes, 7, 5), bytes + 3);

    WORD words[6];
    g_mem_set_2(words, 0x1234, 6);
    EXPECT_EQ(g_mem_find_not_equal_2(words, 0x1234, 6), nullptr);
    words[4] = 5;
    EXPECT_EQ(g_mem_find_not_equal_2(words, 0x1234, 6), words + 4);
    EXPECT_EQ(g_mem_find_equal_2(words, 5, 6), words + 4);
    EXPECT_EQ(g_mem_find_equal_2(words, 5, 4), nullptr);

    const DWORD dwords[3] = {1, 2, 3};
    EXPECT_EQ(g_mem_find_equal_4(dwords, 3, 3), dwords + 2);
    EXPECT_EQ(g_mem_find_not_equal_4(dwords, 1, 3), dwords + 1);
    EXPECT_EQ(g_mem_find_equal_4(dwords, 9, 3), nullptr);
}

TEST(GMem, ShiftAndReverse) {
    const BYTE source[2] = {0xFF, 0x81};
    BYTE target[3] = {0, 0, 0};
    g_mem_right_shift(target, source, 4, 2);
    EXPECT_EQ(target[0], 0x0F);
    EXPECT_EQ(target[1], 0xF8);
    EXPECT_EQ(target[2], 0x10);

    BYTE unshifted[3] = {0, 0, 0};
    g_mem_right_shift(unshifted, source, 0, 2);
    EXPECT_EQ(unshifted[0], 0xFF);
    EXPECT_EQ(unshifted[1], 0x81);

    char reversed[5];
    g_mem_reversed_copy(reversed, "abcde", 5);
    EXPECT_EQ(std::memcmp(reversed, "edcba", 5), 0);
    g_mem_reverse(reversed, 4);
    EXPECT_EQ(std::memcmp(reversed, "bcdea", 5), 0);
}
