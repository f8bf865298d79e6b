#pragma once
// Pictures placed in a box and drawn there: a thumbnail, a preview, a picture control.

#include <wx/bitmap.h>
#include <wx/dc.h>

// The place of a picture of `size` in `box`: as large as it is when it fits, else shrunk keeping its proportions;
// centred either way. Empty when the picture or the box has no area.
wxRect GFitInside(const wxSize& size, const wxRect& box);
// Draws the bitmap (with its alpha) over `place`, scaled when the sizes differ; nothing for an empty place.
void GDrawPicture(wxDC& dc, const wxBitmap& bitmap, const wxRect& place);
