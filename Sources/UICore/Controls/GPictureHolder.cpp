#include "Controls/GPictureHolder.h"

#include "Drawing/GWxImage.h"

GPictureHolder::GPictureHolder(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : GDIBImageView(parent, id, position, size) {
    set_draw_type(Fitted);
}

bool GPictureHolder::loadPicture(HMODULE module, const char* name) {
    const wxImage picture = GWxImage::FromResource(module, name);
    set_bitmap(picture.IsOk() ? wxBitmap(picture) : wxBitmap());
    return picture.IsOk();
}
