#pragma once
// GColorButton: a button that shows a colour and lets the person choose another with the colour dialog; a choice
// is reported to the parent as the button's click, so that a page takes it as a change of its values.

#include "win/Win32Types.h"

#include <wx/bmpbuttn.h>

class GColorButton : public wxBitmapButton {
public:
    GColorButton(wxWindow* parent, int id, const wxPoint& position = wxDefaultPosition,
                 const wxSize& size = wxSize(40, 20));

    // The colour as 0x00BBGGRR.
    COLORREF getColor() const { return m_color; }
    void setColor(COLORREF color);

private:
    void onClick(wxCommandEvent& event);
    wxBitmap swatch() const;

    COLORREF m_color = 0;
};
