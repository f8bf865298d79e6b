#include "Memory/gmempool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

TEST(GMemoryPool, SizeClasses) {
    void* one = gmempool_alloc(nullptr, 1);
    ASSERT_NE(one, nullptr);
    gmempool_free(nullptr, one);
    // The free list is last in, first out: a block of the same class comes back.
    void* eight = gmempool_alloc(nullptr, 8);
    EXPECT_EQ(eight, one);
    void* nine = gmempool_alloc(nullptr, 9);
    EXPECT_NE(nine, one);
    gmempool_free(nullptr, nine);
    gmempool_free(nullptr, eight);

    void* big = gmempool_alloc(nullptr, 257); // from the general heap
    ASSERT_NE(big, nullptr);
    std::memset(big, 0xAB, 257);
    gmempool_free(nullptr, big);
    gmempool_free(nullptr, nullptr);

    EXPECT_EQ(gmempool_get_threshold(), 256u);
    EXPECT_FALSE(gmempool_set_threshold(300));
    EXPECT_TRUE(gmempool_set_threshold(100));
    EXPECT_EQ(gmempool_get_threshold(), 256u);
}

TEST(GMemoryPool, ManyBlocksAcrossCommitSteps) {
    for (std::size_t size : {8u, 24u, 100u, 256u}) {
        std::vector<unsigned char*> blocks;
        for (int i = 0; i < 5000; ++i) { // several 64 KB steps for every size
            auto* block = static_cast<unsigned char*>(gmempool_alloc(nullptr, size));
            ASSERT_NE(block, nullptr);
            std::memset(block, i & 0xFF, size);
            blocks.push_back(block);
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) // no block overlaps another
            ASSERT_EQ(blocks[i][size - 1], i & 0xFF) << size;
        for (unsigned char* block : blocks)
            gmempool_free(nullptr, block);
    }
}

TEST(GMemoryPool, AUsedUpClassFailsLikeAnEmptyHeap) {
    // The 256-byte class holds 16 MB / 256 = 65536 blocks.
    std::vector<void*> blocks;
    for (void* block; (block = gmempool_alloc(nullptr, 250)) != nullptr;)
        blocks.push_back(block);
    EXPECT_EQ(blocks.size(), 65536u);
    gmempool_free(nullptr, blocks.back());
    EXPECT_EQ(gmempool_alloc(nullptr, 256), blocks.back());
    for (void* block : blocks)
        gmempool_free(nullptr, block);
}
