#include "Collections/GCollection.h"

#include "Collections/TGCollection.h"
#include "Errors/GLibraryExceptions.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Items that count how many of them are alive.
struct Tracked {
    static inline int alive = 0;
    explicit Tracked(int v) : value(v) { ++alive; }
    virtual ~Tracked() { --alive; }
    int value;
};

void* item(long n) {
    return reinterpret_cast<void*>(n);
}

// A non-owning collection of fake pointers 1..n.
struct Fakes : GCollection {
    explicit Fakes(int n, int delta = 4) : GCollection(0, delta, false) {
        for (long i = 1; i <= n; ++i)
            insert(item(i));
    }
};

std::vector<long> contents(const GCollection& c) {
    std::vector<long> result;
    for (int i = 0; i < c.getCount(); ++i)
        result.push_back(reinterpret_cast<long>(c.at(i)));
    return result;
}

std::string indexErrorOf(void (*code)(GCollection&), GCollection& c) {
    auto error = catchException<GCollection_IndexOutOfRange_Exception>([&] { code(c); });
    return error ? std::string(error->getMessage()) : std::string();
}

// Resident memory of this process, from the kernel's page counts.
long long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

TEST(GCollection, GrowsByDelta) {
    GCollection c;
    EXPECT_EQ(c.getDelta(), 4);
    EXPECT_EQ(c.getLimit(), 0);
    EXPECT_TRUE(c.ownsItems());
    c.ownsItems(false);
    for (long i = 1; i <= 4; ++i)
        c.insert(item(i));
    EXPECT_EQ(c.getLimit(), 4);
    c.insert(item(5));
    EXPECT_EQ(c.getLimit(), 8);

    GCollection one(10, 0, true);
    EXPECT_EQ(one.getDelta(), 1);
    EXPECT_EQ(one.getLimit(), 10);
    one.setDelta(0);
    EXPECT_EQ(one.getDelta(), 1);

    Fakes five(5);
    five.setLimit(2);
    EXPECT_EQ(five.getLimit(), 5);
    five.setDelta(3);
    five.at_insert(9, item(9)); // beyond the count: needs 10 slots, the next multiple of 3 is 12
    EXPECT_EQ(five.getLimit(), 12);
    EXPECT_EQ(contents(five), (std::vector<long>{1, 2, 3, 4, 5, 0, 0, 0, 0, 9}));
}

TEST(GCollection, ALargeLimitCostsMemoryOnlyAsItFills) {
    Fakes three(3);
    const long long before = residentBytes();
    three.setLimit(INT_MAX); // 16 GiB of slots
    EXPECT_EQ(three.getLimit(), INT_MAX);
    three.insert(item(4));
    EXPECT_EQ(contents(three), (std::vector<long>{1, 2, 3, 4}));
    EXPECT_EQ(three.at(1000000), nullptr);
    EXPECT_LT(residentBytes() - before, 256LL << 20);
}

TEST(GCollection, IndexErrors) {
    GCollection empty(0, 4, false);
    EXPECT_EQ(indexErrorOf([](GCollection& c) { c.at_put(0, nullptr); }, empty),
              "GCollection : index (0) is out of range (0--1)");
    Fakes three(3);
    EXPECT_EQ(indexErrorOf([](GCollection& c) { c.at_put(3, nullptr); }, three),
              "GCollection : index (3) is out of range (0-2)");
    EXPECT_EQ(indexErrorOf([](GCollection& c) { c.at_insert(-1, nullptr); }, three),
              "GCollection : index (-1) is out of range (0-2)");
    EXPECT_EQ(indexErrorOf([](GCollection& c) { c.at_free(-2); }, three),
              "GCollection : index (-2) is out of range (0-2)");
    EXPECT_EQ(indexErrorOf([](GCollection& c) { c.check_index(7); }, three),
              "GCollection : index (7) is out of range (0-2)");
    EXPECT_EQ(indexErrorOf([](GCollection& c) { c.at_insert_range(-1, c, 0, 1); }, three),
              "GCollection : index (-1) is out of range (0-2)");
    // Removals out of range are ignored.
    three.at_remove(3);
    three.at_remove(-1);
    three.at_remove_range(-1, 2);
    three.at_remove_range(5, 2);
    EXPECT_EQ(contents(three), (std::vector<long>{1, 2, 3}));
}

TEST(GCollection, InsertPutRemove) {
    Fakes c(4);
    c.at_insert(1, item(9));
    EXPECT_EQ(contents(c), (std::vector<long>{1, 9, 2, 3, 4}));
    c.at_put(0, item(9));
    EXPECT_EQ(c.index_of(item(9)), 1); // the highest index holding it
    EXPECT_EQ(c.index_of(item(7)), -1);
    EXPECT_EQ(c.remove(item(9)), 1);
    EXPECT_EQ(contents(c), (std::vector<long>{9, 2, 3, 4}));
    EXPECT_EQ(c.remove(item(7)), -1);
    c.at_remove_range(1, 10);
    EXPECT_EQ(contents(c), (std::vector<long>{9}));
    EXPECT_EQ(c.at(1), nullptr); // freed slots are null

    Fakes source(5);
    c.at_insert_range(1, source, 3, 10); // n is cut to what the source has
    EXPECT_EQ(contents(c), (std::vector<long>{9, 4, 5}));
    c.at_insert_collection(0, c); // from itself
    EXPECT_EQ(contents(c), (std::vector<long>{9, 4, 5, 9, 4, 5}));
    c.at_insert_range(0, source, 9, 2);
    EXPECT_EQ(c.getCount(), 6);
    c.remove_all();
    EXPECT_EQ(c.getCount(), 0);
}

TEST(GCollection, PackDropsNullSlots) {
    GCollection c(0, 4, false);
    c.insert(item(1));
    c.insert(nullptr);
    c.insert(item(2));
    c.insert(nullptr);
    c.pack();
    EXPECT_EQ(contents(c), (std::vector<long>{1, 2}));
    EXPECT_EQ(c.getLimit(), 4);
}

TEST(GCollection, OwnedItemsAreDestroyed) {
    Tracked::alive = 0;
    {
        TGCollection<Tracked> owning;
        for (int i = 0; i < 6; ++i)
            owning.insert(new Tracked(i));
        EXPECT_EQ(owning.at(2)->value, 2);
        EXPECT_EQ(owning.free(owning[5]), 5);
        owning.at_free(0);
        EXPECT_EQ(Tracked::alive, 4);
        Tracked* kept = owning.at(0);
        owning.remove(kept); // removed, not destroyed
        EXPECT_EQ(Tracked::alive, 4);
        delete kept;
    }
    EXPECT_EQ(Tracked::alive, 0); // the typed collection empties itself

    Tracked stays(1);
    {
        TGCollection<Tracked> borrowing(0, 4, false);
        borrowing.insert(&stays);
        borrowing.empty();
        EXPECT_EQ(borrowing.getCount(), 0);
    }
    EXPECT_EQ(Tracked::alive, 1);
}
