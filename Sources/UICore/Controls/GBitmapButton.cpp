#include "Controls/GBitmapButton.h"

GBitmapButton::GBitmapButton(wxWindow* parent, int id, const wxPoint& position)
    : wxBitmapButton(parent, id, wxNullBitmap, position, wxDefaultSize, wxBORDER_NONE | wxBU_EXACTFIT) {}

bool GBitmapButton::LoadButton(const wxString& name, const ImageProvider& provider) {
    const wxBitmap normal = provider(name, Normal);
    if (!normal.IsOk())
        return false;
    SetBitmap(normal);
    SetBitmapPressed(provider(name, Pressed));
    SetBitmapCurrent(provider(name, Current));
    SetBitmapDisabled(provider(name, Disabled));
    SetName(name);
    SetSize(normal.GetSize());
    return true;
}
