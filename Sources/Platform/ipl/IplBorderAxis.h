#pragma once
// One axis of an image extended beyond its edges by the border modes of its two sides (constant, replicate,
// reflect with the edge pixel repeated, wrap): the image index a coordinate reads, and how often each index and
// each side's constant occur in a window of any length, counted at a cost bounded by the axis's size.

#include "ipl/ipl.h"

#include <vector>

namespace ipl {

class BorderAxis {
public:
    // The columns (left and right sides) or the rows (top and bottom sides) of an image.
    static BorderAxis columns(const IplImage* image);
    static BorderAxis rows(const IplImage* image);

    // Occurrences in one window: of each image index, and of the constants of the low and high sides.
    struct Counts {
        std::vector<long long> ofIndex;
        long long low = 0;
        long long high = 0;
    };

    int size() const { return m_size; }
    int lowConstant() const { return m_constant[0]; }
    int highConstant() const { return m_constant[1]; }
    // The image index coordinate v reads, or -1 when it reads a side's constant, stored in `constant`.
    int at(long long v, int& constant) const;
    // The occurrences in the window of `length` coordinates from `first` on.
    Counts counts(long long first, long long length) const;

private:
    BorderAxis(int size, const int* modes, const int* constants, int lowSide, int highSide);
    int periodic(int mode, long long v) const;
    void addSide(long long from, long long to, int side, Counts& counts) const;

    int m_size;
    int m_mode[2];
    int m_constant[2];
};

} // namespace ipl
