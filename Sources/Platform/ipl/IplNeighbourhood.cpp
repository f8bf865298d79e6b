#include "Platform/ipl/IplNeighbourhood.h"

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

int Neighbourhood::valueAt(int x, int y, int lane) const {
    const IplImage* image = m_part.image;
    switch (bitsOf(image)) {
    case 1:
        return bitAt(image, x, y) ? 1 : 0;
    case 8:
        return reinterpret_cast<const std::uint8_t*>(
            image->imageData + y * image->widthStep)[x * m_part.pixelElements + m_part.lanes[lane]];
    case 16:
        return reinterpret_cast<const std::uint16_t*>(
            image->imageData + y * image->widthStep)[x * m_part.pixelElements + m_part.lanes[lane]];
    default:
        return reinterpret_cast<const std::int32_t*>(
            image->imageData + y * image->widthStep)[x * m_part.pixelElements + m_part.lanes[lane]];
    }
}

namespace {

template <class T>
void copyLanes(const Part& part, int iy, int firstX, int count, int* out) {
    const IplImage* image = part.image;
    const T* row = reinterpret_cast<const T*>(image->imageData + iy * image->widthStep) + firstX * part.pixelElements;
    const int lanes = part.laneCount;
    if (part.allLanes) {
        for (int k = 0; k < count * lanes; ++k)
            out[k] = row[k];
        return;
    }
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < lanes; ++c)
            out[i * lanes + c] = row[i * part.pixelElements + part.lanes[c]];
}

} // namespace

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
    if (insideTo > insideFrom) {
        int* target = out.data() + insideFrom * lanes;
        const int count = insideTo - insideFrom;
        switch (bitsOf(image)) {
        case 1:
            for (int i = 0; i < count; ++i)
                target[i] = bitAt(image, firstX + insideFrom + i, iy) ? 1 : 0;
            break;
        case 8:
            copyLanes<std::uint8_t>(m_part, iy, firstX + insideFrom, count, target);
            break;
        case 16:
            copyLanes<std::uint16_t>(m_part, iy, firstX + insideFrom, count, target);
            break;
        default:
            copyLanes<std::int32_t>(m_part, iy, firstX + insideFrom, count, target);
            break;
        }
    }
    for (int i = 0; i < length(); ++i) {
        if (i >= insideFrom && i < insideTo)
            continue;
        bool constant = false;
        int value = 0;
        const int ix = mapped(firstX + i, image->width, IPL_SIDE_LEFT_INDEX, IPL_SIDE_RIGHT_INDEX, constant, value);
        for (int c = 0; c < lanes; ++c)
            out[static_cast<std::size_t>(i * lanes + c)] = constant ? value : valueAt(ix, iy, c);
    }
}

} // namespace ipl
