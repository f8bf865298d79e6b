#pragma once
// GOnMouseWheel: the scrolling a mouse wheel event asks for, by the person's wheel setting: a page, or a number of
// lines; negative towards the top. A turn shorter than a notch (a touchpad's) still counts as one line.

#include <wx/event.h>

struct GWheelScroll {
    bool page = false; // then `lines` is -1 or 1
    int lines = 0;
};

GWheelScroll GOnMouseWheel(const wxMouseEvent& event);
