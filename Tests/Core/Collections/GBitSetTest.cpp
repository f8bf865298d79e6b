#include "Collections/GBitSet.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string text(const GBitSet& bits) {
    std::ostringstream out;
    out << bits;
    return out.str();
}

GBitSet withBits(DWORD size, std::initializer_list<DWORD> on) {
    GBitSet bits(size);
    for (DWORD i : on)
        bits += i;
    return bits;
}

} // namespace

TEST(GBitSet, WordCountsAndGrowth) {
    EXPECT_EQ(GBitSet(40).getWordCount(), 2u);
    EXPECT_EQ(GBitSet(32).getWordCount(), 2u);
    EXPECT_EQ(GBitSet(31).getWordCount(), 1u);
    EXPECT_EQ(GBitSet(0).getSize(), 1u);
    EXPECT_EQ(GBitSet().getSize(), 1u);

    GBitSet bits;
    bits += 100;
    EXPECT_EQ(bits.getSize(), 101u);
    EXPECT_EQ(bits.getWordCount(), 4u);
    EXPECT_TRUE(bits[100]);
    bits -= 500; // beyond the words: nothing
    EXPECT_EQ(bits.getSize(), 101u);
    bits.resize(10);
    EXPECT_EQ(bits.getWordCount(), 1u);
    EXPECT_FALSE(bits[3]);
    bits.resize(0);
    EXPECT_EQ(bits.getSize(), 1u);
}

TEST(GBitSet, SettingAndCounting) {
    GBitSet bits(40);
    bits.set_range(3, 5, true);
    bits.set(35, true);
    EXPECT_EQ(bits.getEnabledCount(), 4u);
    EXPECT_EQ(bits.getDisabledCount(), 36u);
    EXPECT_EQ(text(GBitSet(bits).operator-=(35u)), "0001110000000000000000000000000000000000");
    bits.set(4, false);
    EXPECT_EQ(bits.getEnabledCount(), 3u);
    bits.enable_all();
    EXPECT_EQ(bits.getEnabledCount(), 40u); // bits beyond the size are not counted
    EXPECT_FALSE(bits.isEmpty());
    bits.disable_all();
    EXPECT_TRUE(bits.isEmpty());
}

TEST(GBitSet, SetOperations) {
    const GBitSet a = withBits(8, {0, 1, 2});
    const GBitSet b = withBits(8, {2, 3});
    EXPECT_EQ(text(a | b), "11110000");
    EXPECT_EQ(text(a + b), "11110000");
    EXPECT_EQ(text(a & b), "00100000");
    EXPECT_EQ(text(a - b), "11000000");
    EXPECT_EQ(text(a ^ b), "11010000");

    // Only the words both sets have take part; the left keeps its size.
    GBitSet wide = withBits(70, {1, 65});
    wide &= withBits(8, {1});
    EXPECT_TRUE(wide[1]);
    EXPECT_TRUE(wide[65]);
    EXPECT_EQ(wide.getSize(), 70u);
}

TEST(GBitSet, Comparisons) {
    const GBitSet small = withBits(8, {1});
    const GBitSet big = withBits(8, {1, 4});
    EXPECT_TRUE(small <= big);
    EXPECT_TRUE(small < big);
    EXPECT_TRUE(big > small);
    EXPECT_FALSE(big <= small);
    EXPECT_TRUE(big <= big);
    EXPECT_FALSE(big < big);
    EXPECT_TRUE(withBits(8, {1}) == withBits(20, {1}));  // sizes are not compared
    EXPECT_FALSE(withBits(8, {1}) == withBits(40, {1})); // word counts are
    EXPECT_FALSE(withBits(8, {1}) <= withBits(40, {1, 2}));
    EXPECT_TRUE(withBits(8, {1}) != withBits(8, {2}));

    GBitSet copy = big;
    copy += 2;
    EXPECT_FALSE(copy == big);
}
