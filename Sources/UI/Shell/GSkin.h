#pragma once
// GSkin: the main window's skin, drawn by code: a graded ground with sunken frames around the areas of the form,
// so that every area shows even while empty.

#include <wx/bitmap.h>

class GSkin {
public:
    // The skin at the form's size (made once).
    static const wxBitmap& Bitmap();
    // The bottom slider's shaft (stretched to the slider) and thumb.
    static wxBitmap SliderShaft();
    static wxBitmap SliderThumb();
};
