#include "Imaging/GIPL_ConvKernel.h"

#include <algorithm>

GIPL_ConvKernel::GIPL_ConvKernel(int columns, int rows, int anchorX, int anchorY, const int* values, int shift)
    : m_columns(std::max(columns, 0)), m_rows(std::max(rows, 0)), m_anchorX(anchorX), m_anchorY(anchorY),
      m_values(std::make_unique<int[]>(static_cast<std::size_t>(m_columns) * m_rows)), m_shift(shift) {
    if (values != nullptr)
        std::copy_n(values, static_cast<std::size_t>(m_columns) * m_rows, m_values.get());
}

// A copy has values of its own: sharing one owned array would free it twice.
GIPL_ConvKernel::GIPL_ConvKernel(const GIPL_ConvKernel& other)
    : GIPL_ConvKernel(other.m_columns, other.m_rows, other.m_anchorX, other.m_anchorY, other.m_values.get(),
                      other.m_shift) {}

GIPL_ConvKernel& GIPL_ConvKernel::operator=(const GIPL_ConvKernel& other) {
    if (this != &other) {
        GIPL_ConvKernel copy(other);
        std::swap(m_columns, copy.m_columns);
        std::swap(m_rows, copy.m_rows);
        std::swap(m_anchorX, copy.m_anchorX);
        std::swap(m_anchorY, copy.m_anchorY);
        std::swap(m_values, copy.m_values);
        std::swap(m_shift, copy.m_shift);
    }
    return *this;
}
