#pragma once
// Rows of a part as ints, lane-interleaved (entry (i, c) at i * lanes + c): reading them, and writing computed
// values saturated to the part's depth, skipping pixels a mask excludes.

#include "ipl/IplArea.h"

#include <vector>

namespace ipl {

void storeRow(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width);
void readRow(const Part& part, int j, int width, std::vector<int>& out);
// `count` pixels of the part's lanes from image column x of image row y on (not relative to the part).
void readPixels(const Part& part, int x, int y, int count, int* out);

} // namespace ipl
