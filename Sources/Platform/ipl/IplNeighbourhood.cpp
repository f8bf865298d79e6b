#include "ipl/IplNeighbourhood.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <cstdint>

namespace ipl {

Neighbourhood::Neighbourhood(const Part& part, int width, int left, int right)
    : m_part(part), m_width(width), m_left(left), m_right(right) {}

// Maps a coordinate outside 0..size-1 by the border mode of the side it lies on.
int Neighbourhood::mapped(int v, int size, int lowSide, int highSide, bool& constant, int& constantValue) const {
    if (v >= 0 && v < size)
        return v;
    const int side = v < 0 ? lowSide : highSide;
    const IplImage* image = m_part.image;
    switch (image->BorderMode[side]) {
    case IPL_BORDER_REPLICATE:
        return v < 0 ? 0 : size - 1;
    case IPL_BORDER_REFLECT: {
        const int period = 2 * size;
        int m = ((v % period) + period) % period;
        return m < size ? m : period - 1 - m;
    }
    case IPL_BORDER_WRAP:
        return ((v % size) + size) % size;
    default:
        constant = true;
        constantValue = image->BorderConst[side];
        return 0;
    }
}

void Neighbourhood::read(int y, std::vector<int>& out) const {
    const IplImage* image = m_part.image;
    const int lanes = m_part.laneCount;
    out.resize(static_cast<std::size_t>(length() * lanes));
    bool constantRow = false;
    int rowConstant = 0;
    const int iy = mapped(y, image->height, IPL_SIDE_TOP_INDEX, IPL_SIDE_BOTTOM_INDEX, constantRow, rowConstant);
    if (constantRow) {
        std::fill(out.begin(), out.end(), rowConstant);
        return;
    }
    // The columns inside the image are copied straight; only those beyond its edges go through the borders.
    const int firstX = m_part.x - m_left;
    const int insideFrom = std::max(0, -firstX);
    const int insideTo = std::min(length(), image->width - firstX);
    if (insideTo > insideFrom)
        readPixels(m_part, firstX + insideFrom, iy, insideTo - insideFrom, out.data() + insideFrom * lanes);
    for (int i = 0; i < length(); ++i) {
        if (i >= insideFrom && i < insideTo)
            continue;
        bool constant = false;
        int value = 0;
        const int ix = mapped(firstX + i, image->width, IPL_SIDE_LEFT_INDEX, IPL_SIDE_RIGHT_INDEX, constant, value);
        int* pixel = out.data() + i * lanes;
        if (constant)
            std::fill(pixel, pixel + lanes, value);
        else
            readPixels(m_part, ix, iy, 1, pixel);
    }
}

} // namespace ipl
