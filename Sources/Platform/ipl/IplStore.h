#pragma once
// Writes computed values (lane-interleaved ints) into a row of a part, saturated to its depth, skipping pixels
// a mask excludes.

#include "Platform/ipl/IplArea.h"

namespace ipl {

void storeRow(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width);

} // namespace ipl
