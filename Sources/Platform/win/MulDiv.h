#pragma once
// MulDiv: a * b / c through 64 bits, rounded to the nearest with halves away from zero; -1 when c is 0 or the
// result does not fit in 32 bits (below -2147483647 counts as not fitting).

#include "win/Win32Types.h"

int MulDiv(int a, int b, int c);
