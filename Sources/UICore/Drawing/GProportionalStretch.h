#pragma once
// GProportionalStretch: the largest size with the proportions of `size` that fits in `box` (larger or smaller than
// `size`), written back into `size`. A size or box without area gives 0 x 0.

#include "win/Win32Types.h"

void GProportionalStretch(SIZE& size, const SIZE& box);
