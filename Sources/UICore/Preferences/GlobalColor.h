#pragma once
// GlobalColor: a colour the user may change (the scene's background, the selection glow), kept as a COLORREF in
// a registry value of the application's settings.

#include "Settings/GRegistryDWord.h"

#include <wx/colour.h>

class GlobalColor : public GRegistryDWord {
public:
    GlobalColor(const char* valueName, COLORREF defaultColor);

    COLORREF getColor();
    void setColor(COLORREF color);
    // The colour as an opaque 32-bit pixel, 0xFFRRGGBB.
    DWORD getPixel();
    // The colour for the framework's drawing.
    wxColour getColour() { return wxColour(static_cast<unsigned long>(getColor())); }
};
