#include "Drawing/GProportionalStretch.h"

#include "win/MulDiv.h"

void GProportionalStretch(SIZE& size, const SIZE& box) {
    if (size.cx <= 0 || size.cy <= 0 || box.cx <= 0 || box.cy <= 0) {
        size = {0, 0};
        return;
    }
    // Wider than the box (by proportion): the width fills it; otherwise the height does.
    if (static_cast<long long>(size.cx) * box.cy > static_cast<long long>(size.cy) * box.cx)
        size = {box.cx, MulDiv(size.cy, box.cx, size.cx)};
    else
        size = {MulDiv(size.cx, box.cy, size.cy), box.cy};
}
