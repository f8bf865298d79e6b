#pragma once
// The rows a decoder writes 8-bit BGRA pixels into: the picture's own rows where it keeps them in memory, else a
// buffer whose rows are handed to the picture at the end.

#include "Imaging/GAbstractDIBImage.h"

#include <cstdint>
#include <vector>

class TargetRows {
public:
    // The picture must already have its size.
    explicit TargetRows(GAbstractDIBImage& image);

    std::uint8_t** rows() { return m_rows.data(); }
    void handOver();

private:
    GAbstractDIBImage& m_image;
    std::vector<std::uint8_t*> m_rows;
    std::vector<DWORD> m_buffer;
};
