#include "Controls/GColorButton.h"

#include <wx/colordlg.h>
#include <wx/dcmemory.h>

GColorButton::GColorButton(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : wxBitmapButton(parent, id, wxNullBitmap, position, size) {
    SetBitmap(swatch());
    Bind(wxEVT_BUTTON, &GColorButton::onClick, this);
}

void GColorButton::setColor(COLORREF color) {
    m_color = color & 0xFFFFFF;
    SetBitmap(swatch());
}

wxBitmap GColorButton::swatch() const {
    const wxSize size = GetClientSize();
    wxBitmap picture(std::max(size.x - 8, 8), std::max(size.y - 8, 8));
    wxMemoryDC dc(picture);
    dc.SetBackground(wxBrush(wxColour(static_cast<unsigned long>(m_color))));
    dc.Clear();
    return picture;
}

void GColorButton::onClick(wxCommandEvent& event) {
    wxColourData data;
    data.SetColour(wxColour(static_cast<unsigned long>(m_color)));
    wxColourDialog dialog(wxGetTopLevelParent(this), &data);
    if (dialog.ShowModal() != wxID_OK) {
        return; // nothing changed: the click goes no further
    }
    setColor(static_cast<COLORREF>(dialog.GetColourData().GetColour().GetRGB()));
    event.Skip(); // the parent sees the click: its values changed
}
