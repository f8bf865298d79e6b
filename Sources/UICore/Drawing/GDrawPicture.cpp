#include "Drawing/GDrawPicture.h"

#include "Drawing/GProportionalStretch.h"

wxRect GFitInside(const wxSize& size, const wxRect& box) {
    SIZE fitted{size.x, size.y};
    if (fitted.cx > box.width || fitted.cy > box.height)
        GProportionalStretch(fitted, SIZE{box.width, box.height});
    if (fitted.cx <= 0 || fitted.cy <= 0)
        return {};
    return {box.x + (box.width - fitted.cx) / 2, box.y + (box.height - fitted.cy) / 2, fitted.cx, fitted.cy};
}

void GDrawPicture(wxDC& dc, const wxBitmap& bitmap, const wxRect& place) {
    if (place.IsEmpty() || !bitmap.IsOk())
        return;
    if (place.GetSize() == bitmap.GetSize())
        dc.DrawBitmap(bitmap, place.GetPosition(), true);
    else
        dc.DrawBitmap(wxBitmap(bitmap.ConvertToImage().Scale(place.width, place.height, wxIMAGE_QUALITY_BILINEAR)),
                      place.GetPosition(), true);
}
