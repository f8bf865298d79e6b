#include "Collections/GSortedCollection.h"

#include "Collections/TGSortedCollection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Entry {
    static inline int alive = 0;
    Entry(int k, int t = 0) : key(k), tag(t) { ++alive; }
    virtual ~Entry() { --alive; }
    int key;
    int tag;
};

// Sorted by the entries' keys.
class Entries : public TGSortedCollection<Entry> {
public:
    using TGSortedCollection::TGSortedCollection;
    const void* keyOf(const void* item) const override { return &static_cast<const Entry*>(item)->key; }
    int compare(const void* a, const void* b) const override {
        return *static_cast<const int*>(a) - *static_cast<const int*>(b);
    }
};

std::vector<int> keys(const Entries& c) {
    std::vector<int> result;
    for (int i = 0; i < c.getCount(); ++i)
        result.push_back(c.at(i)->key);
    return result;
}

} // namespace

TEST(GSortedCollection, KeepsKeyOrderAndRejectsDuplicates) {
    Entry::alive = 0;
    {
        Entries c;
        for (int k : {5, 1, 4, 2, 3})
            c.insert(new Entry(k));
        EXPECT_EQ(keys(c), (std::vector<int>{1, 2, 3, 4, 5}));
        Entry* first4 = c.at(3);
        EXPECT_EQ(c.insert(new Entry(4, 1)), 3); // destroyed, the index of the first returned
        EXPECT_EQ(Entry::alive, 5);
        EXPECT_EQ(c.at(3), first4);
        int index = -1;
        const int six = 6;
        EXPECT_FALSE(c.search(&six, index));
        EXPECT_EQ(index, 5);

        // Without duplicates index_of gives the position of an equal key, whichever object is there.
        Entry stranger(2);
        EXPECT_EQ(c.index_of(&stranger), 1);
        Entry absent(9);
        EXPECT_EQ(c.index_of(&absent), -1);
    }
    EXPECT_EQ(Entry::alive, 0);
}

TEST(GSortedCollection, DuplicatesFindTheFirstAndTheExactObject) {
    Entries c;
    c.setDuplicates(true);
    for (int t = 0; t < 3; ++t)
        c.insert(new Entry(7, t));
    c.insert(new Entry(3));
    c.insert(new Entry(9));
    int index = -1;
    const int seven = 7;
    EXPECT_TRUE(c.search(&seven, index));
    EXPECT_EQ(index, 1);
    Entry* last7 = nullptr;
    for (int i = 0; i < c.getCount(); ++i)
        if (c.at(i)->key == 7)
            last7 = c.at(i);
    EXPECT_EQ(c.at(c.index_of(last7)), last7);
    Entry other(7);
    EXPECT_EQ(c.index_of(&other), -1);
}

TEST(GSortedCollection, ResortRepairsTheOrder) {
    Entries c;
    for (int k = 0; k < 20; ++k)
        c.insert(new Entry(k));
    for (int i = 0; i < 20; ++i)
        c.at(i)->key = (i * 7) % 20; // keys scrambled in place
    c.resort();
    std::vector<int> expected(20);
    for (int k = 0; k < 20; ++k)
        expected[k] = k;
    EXPECT_EQ(keys(c), expected);
}

TEST(GSortedCollection, BaseOrderIsByWholeAddresses) {
    // Addresses 4 GiB apart differ by nothing in their low 32 bits.
    GSortedCollection c(0, 4, false);
    auto* high = reinterpret_cast<void*>(std::uintptr_t{0x100000010});
    auto* low = reinterpret_cast<void*>(std::uintptr_t{0x20});
    auto* middle = reinterpret_cast<void*>(std::uintptr_t{0x80000000});
    c.insert(high);
    c.insert(low);
    c.insert(middle);
    EXPECT_EQ(c.at(0), low);
    EXPECT_EQ(c.at(1), middle);
    EXPECT_EQ(c.at(2), high);
    EXPECT_EQ(c.index_of(high), 2);
    EXPECT_LT(c.compare(low, high), 0);
    EXPECT_EQ(c.compare(high, high), 0);
}
