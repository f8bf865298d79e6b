#include "Collections/MSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

std::vector<int>* data = nullptr;

int lessWith(long i, long j, void* context) {
    const auto& v = *static_cast<std::vector<int>*>(context);
    return v[i] < v[j] ? 1 : 0;
}

void swapWith(long i, long j, void* context) {
    auto& v = *static_cast<std::vector<int>*>(context);
    std::swap(v[i], v[j]);
}

// A short result of -1 must count as "less" (it is sign-extended, not taken as 65535 or dropped).
short shortLess(long i, long j) {
    return (*data)[i] < (*data)[j] ? -1 : 0;
}

void plainSwap(long i, long j) {
    std::swap((*data)[i], (*data)[j]);
}

std::vector<int> randomValues(std::size_t n, int range, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> values(n);
    for (int& v : values)
        v = static_cast<int>(random() % static_cast<unsigned>(range));
    return values;
}

std::vector<int> sortedValues;
int compareWith(long i, void* sought) {
    const int v = sortedValues[static_cast<std::size_t>(i)];
    const int target = *static_cast<int*>(sought);
    return v < target ? -1 : v > target ? 1 : 0;
}

short shortCompare(long i) {
    return sortedValues[static_cast<std::size_t>(i)] < 5 ? -1 : 1;
}

} // namespace

TEST(MSort, BothSortsSortEveryShape) {
    using Sort = void (*)(long, void*, MSort::LessWith, MSort::SwapWith);
    for (Sort sort : {static_cast<Sort>(MSort::QSort), static_cast<Sort>(MSort::HSort)}) {
        for (std::size_t n : {0u, 1u, 2u, 3u, 7u, 64u, 1000u}) {
            for (int range : {1, 3, 1000000}) { // all equal, many equal, mostly distinct
                std::vector<int> values = randomValues(n, range, static_cast<unsigned>(n * 31 + range));
                std::vector<int> expected = values;
                std::sort(expected.begin(), expected.end());
                sort(static_cast<long>(n), &values, lessWith, swapWith);
                EXPECT_EQ(values, expected) << "n=" << n << " range=" << range;
            }
        }
        std::vector<int> descending(500);
        for (int i = 0; i < 500; ++i)
            descending[static_cast<std::size_t>(i)] = 500 - i;
        sort(500, &descending, lessWith, swapWith);
        EXPECT_TRUE(std::is_sorted(descending.begin(), descending.end()));
    }
}

// A heap of the largest count: building it starts at position LONG_MAX / 2, whose children lie at the very end of
// the range, and a child there has no children of its own. The comparison stops the sort at its third call.
TEST(MSort, HeapPositionsStayInRangeForTheLargestCount) {
    struct Stop {};
    std::vector<std::pair<long, long>> compared;
    const auto lessThrice = [](long i, long j, void* context) -> int {
        auto& pairs = *static_cast<std::vector<std::pair<long, long>>*>(context);
        pairs.emplace_back(i, j);
        if (pairs.size() == 3)
            throw Stop{};
        return 1;
    };
    EXPECT_THROW(MSort::HSort(LONG_MAX, &compared, lessThrice, [](long, long, void*) {}), Stop);
    ASSERT_EQ(compared.size(), 3u);
    EXPECT_EQ(compared[0], std::make_pair(LONG_MAX - 2, LONG_MAX - 1)); // the larger child is the last one
    EXPECT_EQ(compared[1], std::make_pair(LONG_MAX / 2 - 1, LONG_MAX - 1));
    EXPECT_EQ(compared[2], std::make_pair(LONG_MAX - 4, LONG_MAX - 3)); // the next parent, not a child of the last
}

TEST(MSort, ShortCallbacks) {
    std::vector<int> values = randomValues(200, 50, 7);
    data = &values;
    MSort::QSort(200, shortLess, plainSwap);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    values = randomValues(200, 50, 8);
    MSort::HSort(200, shortLess, plainSwap);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    data = nullptr;
}

TEST(MSort, DSearchBrackets) {
    sortedValues = {10, 20, 30, 40};
    auto search = [](int target) {
        const bool found = MSort::DSearch(static_cast<long>(sortedValues.size()), &target, compareWith);
        return std::make_tuple(found, MSort::Less_or_Equal(), MSort::Greater_or_Equal());
    };
    EXPECT_EQ(search(5), std::make_tuple(false, -1L, 0L));
    EXPECT_EQ(search(10), std::make_tuple(true, 0L, 0L));
    EXPECT_EQ(search(25), std::make_tuple(false, 1L, 2L));
    EXPECT_EQ(search(30), std::make_tuple(true, 2L, 2L));
    EXPECT_EQ(search(40), std::make_tuple(true, 3L, 3L));
    EXPECT_EQ(search(45), std::make_tuple(false, 3L, 4L));

    sortedValues.clear();
    EXPECT_EQ(search(1), std::make_tuple(false, -1L, 0L));

    sortedValues = {1, 2, 3, 7, 9};
    EXPECT_FALSE(MSort::DSearch(5, shortCompare));
    EXPECT_EQ(MSort::Less_or_Equal(), 2);
    EXPECT_EQ(MSort::Greater_or_Equal(), 3);
}
