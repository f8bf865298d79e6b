#include "Controls/GDIBImageView.h"

#include "Drawing/GDrawPicture.h"
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
    const wxSize size = m_bitmap.GetSize();
    switch (m_drawType) {
    case TopLeft:
        return {wxPoint(0, 0), size};
    case Stretched:
        return wxRect(client);
    case Fitted:
        return GFitInside(size, wxRect(client));
    default:
        return {(client.x - size.x) / 2, (client.y - size.y) / 2, size.x, size.y};
    }
}

void GDIBImageView::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    GDrawPicture(dc, m_bitmap, pictureRect());
}

wxSize GDIBImageView::DoGetBestSize() const {
    return m_bitmap.IsOk() ? m_bitmap.GetSize() : wxSize(32, 32);
}
