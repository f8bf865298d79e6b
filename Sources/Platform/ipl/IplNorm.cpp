// Norms of an image, or of the difference of two, over the values that take part.

#include "ipl/IplRows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace ipl;

namespace {

struct Sums {
    double maximum = 0;
    double absolute = 0;
    double squares = 0;

    void add(double v) {
        const double a = std::abs(v);
        maximum = std::max(maximum, a);
        absolute += a;
        squares += a * a;
    }

    double norm(int type) const {
        switch (type & ~IPL_RELATIVE) {
        case IPL_C:
            return maximum;
        case IPL_L1:
            return absolute;
        case IPL_L2:
            return std::sqrt(squares);
        default:
            return 0;
        }
    }
};

} // namespace

// Without B: the norm of A's values. With B: the norm of A - B, divided by the norm of B for the relative types.
// Alpha channels take no part unless selected; one-bit images count 0 and 1.
double iplNorm(IplImage* srcImageA, IplImage* srcImageB, int normType) {
    if (srcImageB == nullptr && (normType & IPL_RELATIVE) != 0)
        return 0;
    Area area = srcImageB != nullptr ? Area({srcImageA, srcImageB}) : Area({srcImageA});
    if (!area || !sameDepth(area))
        return 0;
    Sums difference;
    Sums ofB;
    std::vector<int> a;
    std::vector<int> b;
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        readRow(area[0], j, area.width, a);
        if (srcImageB != nullptr)
            readRow(area[1], j, area.width, b);
        const int lanes = area[0].laneCount;
        for (int i = 0; i < area.width; ++i) {
            if (enabled != nullptr && enabled[i] == 0)
                continue;
            for (int c = 0; c < lanes; ++c) {
                const std::size_t k = static_cast<std::size_t>(i * lanes + c);
                const double bv = srcImageB != nullptr ? b[k] : 0.0;
                difference.add(a[k] - bv);
                ofB.add(bv);
            }
        }
    }
    if ((normType & IPL_RELATIVE) == 0)
        return difference.norm(normType);
    const double base = ofB.norm(normType);
    return base == 0 ? 0 : difference.norm(normType) / base;
}
