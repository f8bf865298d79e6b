#pragma once
// Colour conversions of single pixels: 0xAARRGGBB to 0xAAHHSSVV and back, in integer arithmetic. Hue runs
// 0..255 per turn; alpha is copied.

#include "win/Win32Types.h"

DWORD RGBA2HSVA(DWORD rgba);
DWORD HSVA2RGBA(DWORD hsva);
