#include "ipl/IplNeighbourhood.h"
#include "ipl/IplRows.h"

#include <algorithm>
#include <cstdint>

namespace ipl {

Neighbourhood::Neighbourhood(const Part& part, int width, int left, int right)
    : m_part(part), m_columns(BorderAxis::columns(part.image)), m_rows(BorderAxis::rows(part.image)), m_width(width),
      m_left(left), m_right(right) {}

void Neighbourhood::read(long long y, std::vector<int>& out) const {
    const int lanes = m_part.laneCount;
    out.resize(static_cast<std::size_t>(length() * lanes));
    int rowConstant = 0;
    const int iy = m_rows.at(y, rowConstant);
    if (iy < 0) {
        std::fill(out.begin(), out.end(), rowConstant);
        return;
    }
    // The columns inside the image are copied straight; only those beyond its edges go through the borders.
    const long long firstX = static_cast<long long>(m_part.x) - m_left;
    const long long insideFrom = std::max(0LL, -firstX);
    const long long insideTo = std::min(length(), m_columns.size() - firstX);
    if (insideTo > insideFrom)
        readPixels(m_part, static_cast<int>(firstX + insideFrom), iy, static_cast<int>(insideTo - insideFrom),
                   out.data() + insideFrom * lanes);
    for (long long i = 0; i < length(); ++i) {
        if (i >= insideFrom && i < insideTo)
            continue;
        int value = 0;
        const int ix = m_columns.at(firstX + i, value);
        int* pixel = out.data() + i * lanes;
        if (ix < 0)
            std::fill(pixel, pixel + lanes, value);
        else
            readPixels(m_part, ix, iy, 1, pixel);
    }
}

} // namespace ipl
