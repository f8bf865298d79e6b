#include "Controls/GDIBImageView.h"

#include "Drawing/GProportionalStretch.h"
#include "Drawing/GWxImage.h"
#include "Imaging/GAbstractDIBImage.h"

#include <wx/dcbuffer.h>

GDIBImageView::GDIBImageView(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : wxWindow(parent, id, position, size, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &GDIBImageView::onPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Refresh(false);
        event.Skip();
    });
}

void GDIBImageView::set_image(const GAbstractDIBImage& image) {
    set_bitmap(image.get_width() > 0 && image.get_height() > 0 ? wxBitmap(GWxImage::FromDIB(image)) : wxBitmap());
}

void GDIBImageView::set_bitmap(const wxBitmap& bitmap) {
    m_bitmap = bitmap;
    InvalidateBestSize();
    Refresh(false);
}

void GDIBImageView::set_draw_type(int type) {
    m_drawType = type;
    Refresh(false);
}

wxRect GDIBImageView::pictureRect() const {
    const wxSize client = GetClientSize();
    if (!m_bitmap.IsOk())
        return {};
    SIZE size{m_bitmap.GetWidth(), m_bitmap.GetHeight()};
    switch (m_drawType) {
    case TopLeft:
        return {0, 0, size.cx, size.cy};
    case Stretched:
        return wxRect(client);
    case Fitted:
        if (size.cx > client.x || size.cy > client.y)
            GProportionalStretch(size, SIZE{client.x, client.y});
        break;
    default:
        break;
    }
    return {(client.x - size.cx) / 2, (client.y - size.cy) / 2, size.cx, size.cy};
}

void GDIBImageView::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    const wxRect place = pictureRect();
    if (place.IsEmpty())
        return;
    if (place.width == m_bitmap.GetWidth() && place.height == m_bitmap.GetHeight())
        dc.DrawBitmap(m_bitmap, place.GetPosition(), true);
    else
        dc.DrawBitmap(wxBitmap(m_bitmap.ConvertToImage().Scale(place.width, place.height, wxIMAGE_QUALITY_BILINEAR)),
                      place.GetPosition(), true);
}

wxSize GDIBImageView::DoGetBestSize() const {
    return m_bitmap.IsOk() ? m_bitmap.GetSize() : wxSize(32, 32);
}
