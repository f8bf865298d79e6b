#pragma once
// The binary search of the sorted arrays. `compareAt(i)` compares the key of item i with the sought key. On a
// match the search ends there, unless duplicates are allowed: then it goes on to the left, so that `index`
// receives the first equal item. Without a match `index` receives the insertion position.

template <class CompareAt>
bool GBinarySearch(int count, bool duplicates, CompareAt compareAt, int& index) {
    int lo = 0;
    int hi = count - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = compareAt(mid);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (!duplicates)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}
