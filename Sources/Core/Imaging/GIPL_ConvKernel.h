#pragma once
// A convolution kernel in the image-processing library's integer layout: columns x rows values, row after row,
// an anchor cell and a right shift applied to the sum.

#include <memory>

class GIPL_ConvKernel {
public:
    // `values` (columns x rows of them) are copied when given; otherwise the values are left to be set.
    GIPL_ConvKernel(int columns, int rows, int anchorX, int anchorY, const int* values, int shift);
    GIPL_ConvKernel(const GIPL_ConvKernel& other);
    GIPL_ConvKernel& operator=(const GIPL_ConvKernel& other);

    int get(int row, int column) const { return m_values[static_cast<std::size_t>(row * m_columns + column)]; }
    void set(int row, int column, int value) { m_values[static_cast<std::size_t>(row * m_columns + column)] = value; }
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int anchorX() const { return m_anchorX; }
    int anchorY() const { return m_anchorY; }
    int shift() const { return m_shift; }
    const int* values() const { return m_values.get(); }

private:
    int m_columns;
    int m_rows;
    int m_anchorX;
    int m_anchorY;
    std::unique_ptr<int[]> m_values;
    int m_shift;
};
