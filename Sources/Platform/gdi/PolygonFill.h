#pragma once
// The pixels a polygon's inside covers, row by row (GDI's scan conversion): pixel (x, y) is inside when its top
// left corner is, a corner on a left or top edge counting as inside and one on a right or bottom edge not. Edges
// of equal end rows are left out; the closing edge is included.

#include "win/Win32Types.h"

#include <functional>

// Calls `span(y, x0, x1)` for each run [x0, x1) of inside pixels on rows top to bottom - 1 (the rows wanted).
// `winding`: the non-zero rule instead of the even-odd one.
void ScanPolygon(const POINT* points, int count, bool winding, int top, int bottom,
                 const std::function<void(int y, int x0, int x1)>& span);
