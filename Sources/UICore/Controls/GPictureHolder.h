#pragma once
// GPictureHolder: a picture control showing one of a module's bitmap resources, centred (shrunk to fit when the
// control is smaller), as the about box's picture.

#include "Controls/GDIBImageView.h"
#include "win/Win32Types.h"

class GPictureHolder : public GDIBImageView {
public:
    GPictureHolder(wxWindow* parent, int id, const wxPoint& position = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize);

    // The module's bitmap by number or name (MAKEINTRESOURCEA); false (showing nothing) when it has none.
    bool loadPicture(HMODULE module, const char* name);
};
