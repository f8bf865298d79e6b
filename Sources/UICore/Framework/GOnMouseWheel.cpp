#include "Framework/GOnMouseWheel.h"

#include <algorithm>

GWheelScroll GOnMouseWheel(const wxMouseEvent& event) {
    const int rotation = event.GetWheelRotation();
    if (rotation == 0)
        return {};
    const int towardsTop = rotation > 0 ? -1 : 1;
    if (event.IsPageScroll())
        return {true, towardsTop};
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    const int lines = -rotation * std::max(event.GetLinesPerAction(), 1) / delta;
    return {false, lines != 0 ? lines : towardsTop};
}
