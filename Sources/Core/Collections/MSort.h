#pragma once
// Sorting and searching by index through callbacks: the caller keeps the data, MSort decides which indices to
// compare and swap. The callbacks and the last DSearch brackets live in process-wide variables, so one thread
// at a time may use MSort.

class MSort {
public:
    // Non-zero when element i must come before element j.
    using Less = short (*)(long i, long j);
    using Swap = void (*)(long i, long j);
    using LessWith = int (*)(long i, long j, void* context);
    using SwapWith = void (*)(long i, long j, void* context);
    // Negative when element i lies below the sought value, 0 when equal, positive when above.
    using Compare = short (*)(long i);
    using CompareWith = int (*)(long i, void* context);

    static void QSort(long n, Less less, Swap swap);
    static void QSort(long n, void* context, LessWith less, SwapWith swap);
    static void HSort(long n, Less less, Swap swap);
    static void HSort(long n, void* context, LessWith less, SwapWith swap);

    // Binary search of a sorted range; true when an element equals the sought value. The bracketing indices
    // are left in Less_or_Equal() and Greater_or_Equal().
    static bool DSearch(long n, Compare cmp);
    static bool DSearch(long n, void* context, CompareWith cmp);
    static long Less_or_Equal();
    static long Greater_or_Equal();
};
