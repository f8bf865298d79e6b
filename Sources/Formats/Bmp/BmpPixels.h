#pragma once
// The pixel data of a BMP file, decoded into an image already sized to it. Rows are stored bottom up unless the
// header says top down.

#include "Bmp/BmpHeader.h"
#include "Imaging/GAbstractDIBImage.h"

#include <cstdint>
#include <vector>

// Uncompressed rows: `data` holds all of them (rowBytes() each).
void decodeBmpRows(const BmpHeader& header, const std::vector<std::uint8_t>& data, GAbstractDIBImage& image);

// RLE8 or RLE4 codes. Runs and absolute runs past the end of a row are cut there, a delta leaving the image and
// the end of the data end the decoding; pixels no code reaches keep palette entry 0.
void decodeBmpRle(const BmpHeader& header, const std::vector<std::uint8_t>& data, GAbstractDIBImage& image);
