#pragma once
// GFillSolidDifference: fills the part of `outer` outside `inner` with one colour (the margin around a scene),
// in at most four rectangles, leaving `inner` untouched.

#include <wx/dc.h>

void GFillSolidDifference(wxDC& dc, const wxRect& outer, const wxRect& inner, const wxColour& colour);
