#pragma once
// Source rows for neighbourhood operations: the values of a part's channel lanes along a row, extended beyond
// the image's edges by its border modes (constant, replicate, reflect with the edge pixel repeated, wrap).
// Neighbours outside the region of interest but inside the image are read as they are.

#include "ipl/IplArea.h"
#include "ipl/IplBorderAxis.h"

#include <vector>

namespace ipl {

class Neighbourhood {
public:
    // Rows cover the part's columns from `left` before its first to `right` after its last.
    Neighbourhood(const Part& part, int width, int left, int right);

    // Row `y` of the image (which may lie outside it), lane-interleaved: entry (i, c) at i * lanes + c, for
    // i = 0 .. width + left + right - 1.
    void read(long long y, std::vector<int>& out) const;
    int lanes() const { return m_part.laneCount; }
    long long length() const { return static_cast<long long>(m_width) + m_left + m_right; }

private:
    const Part& m_part;
    BorderAxis m_columns;
    BorderAxis m_rows;
    int m_width;
    int m_left;
    int m_right;
};

} // namespace ipl
