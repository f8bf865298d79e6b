#include "Collections/MSort.h"

#include <tuple>

namespace {

// The callbacks of the running sort and the brackets of the last search.
void* sortContext = nullptr;
MSort::LessWith sortLess = nullptr;
MSort::SwapWith sortSwap = nullptr;
MSort::Less shortLess = nullptr;
MSort::Swap plainSwap = nullptr;
MSort::Compare shortCompare = nullptr;
long lessOrEqual = -1;
long greaterOrEqual = 0;

bool less(long i, long j) {
    return sortLess(i, j, sortContext) != 0;
}

void swap(long i, long j) {
    sortSwap(i, j, sortContext);
}

// The short forms run through the context forms; their 16-bit results are sign-extended.
int lessFromShort(long i, long j, void*) {
    return shortLess(i, j);
}

void swapFromPlain(long i, long j, void*) {
    plainSwap(i, j);
}

int compareFromShort(long i, void*) {
    return shortCompare(i);
}

// Partitions [lo, hi] around the element at lo: elements not greater than it gather after it, greater ones
// at the end, and it is swapped to the boundary. Returns its final index.
long partition(long lo, long hi) {
    long i = lo + 1;
    long j = hi;
    while (i <= j) {
        if (!less(lo, i)) {
            ++i;
        } else if (less(lo, j)) {
            --j;
        } else {
            swap(i, j);
            ++i;
            --j;
        }
    }
    if (j != lo)
        swap(lo, j);
    return j;
}

// The smaller side recurses and the larger one loops, so the depth stays logarithmic.
void quickSort(long lo, long hi) {
    while (lo < hi) {
        const long p = partition(lo, hi);
        if (p - lo < hi - p) {
            quickSort(lo, p - 1);
            lo = p + 1;
        } else {
            quickSort(p + 1, hi);
            hi = p - 1;
        }
    }
}

// Heap positions are 1-based; the callbacks get position - 1.
bool heapLess(long a, long b) {
    return less(a - 1, b - 1);
}

void heapSwap(long a, long b) {
    swap(a - 1, b - 1);
}

// Children are taken only below n / 2 + 1, so 2 * k never overflows whatever n is.
void siftDown(long k, long n) {
    while (k <= n / 2) {
        long j = 2 * k;
        if (j < n && heapLess(j, j + 1))
            ++j;
        if (!heapLess(k, j))
            return;
        heapSwap(k, j);
        k = j;
    }
}

// Moves the hole at the root down to a leaf along the larger children of the first m elements, then lets the
// element that was put at the root rise to its place.
void settleRoot(long m) {
    long pos = 1;
    while (pos <= m / 2) {
        long child = 2 * pos;
        if (child < m && heapLess(child, child + 1))
            ++child;
        heapSwap(pos, child);
        pos = child;
    }
    while (pos > 1 && heapLess(pos / 2, pos)) {
        heapSwap(pos / 2, pos);
        pos /= 2;
    }
}

void heapSort(long n) {
    if (n < 2)
        return;
    for (long k = n / 2; k >= 1; --k)
        siftDown(k, n);
    for (long m = n; m >= 2; --m) {
        heapSwap(1, m);
        settleRoot(m - 1);
    }
}

// Holds the callbacks in the process-wide variables for the length of one sort.
template <class Sort>
void runSort(long n, void* context, MSort::LessWith lessFn, MSort::SwapWith swapFn, Sort sort) {
    const auto saved = std::make_tuple(sortContext, sortLess, sortSwap);
    sortContext = context;
    sortLess = lessFn;
    sortSwap = swapFn;
    sort(n);
    std::tie(sortContext, sortLess, sortSwap) = saved;
}

void setBrackets(long low, long high) {
    lessOrEqual = low;
    greaterOrEqual = high;
}

} // namespace

void MSort::QSort(long n, void* context, LessWith less, SwapWith swap) {
    runSort(n, context, less, swap, [](long count) { quickSort(0, count - 1); });
}

void MSort::QSort(long n, Less less, Swap swap) {
    shortLess = less;
    plainSwap = swap;
    QSort(n, nullptr, lessFromShort, swapFromPlain);
}

void MSort::HSort(long n, void* context, LessWith less, SwapWith swap) {
    runSort(n, context, less, swap, heapSort);
}

void MSort::HSort(long n, Less less, Swap swap) {
    shortLess = less;
    plainSwap = swap;
    HSort(n, nullptr, lessFromShort, swapFromPlain);
}

bool MSort::DSearch(long n, void* context, CompareWith cmp) {
    if (n < 1) {
        setBrackets(-1, 0);
        return false;
    }
    const int first = cmp(0, context);
    if (first >= 0) {
        setBrackets(first > 0 ? -1 : 0, 0);
        return first == 0;
    }
    const int last = cmp(n - 1, context);
    if (last <= 0) {
        setBrackets(n - 1, last < 0 ? n : n - 1);
        return last == 0;
    }
    long lo = 0;
    long hi = n - 1;
    while (lo < hi - 1) {
        const long mid = (lo + hi) / 2;
        const int c = cmp(mid, context);
        if (c == 0) {
            setBrackets(mid, mid);
            return true;
        }
        (c < 0 ? lo : hi) = mid;
    }
    setBrackets(lo, hi);
    return false;
}

bool MSort::DSearch(long n, Compare cmp) {
    shortCompare = cmp;
    return DSearch(n, nullptr, compareFromShort);
}

long MSort::Less_or_Equal() {
    return lessOrEqual;
}

long MSort::Greater_or_Equal() {
    return greaterOrEqual;
}
