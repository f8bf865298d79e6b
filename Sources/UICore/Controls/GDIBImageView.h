#pragma once
// GDIBImageView: a window that shows a picture of this system's images (a preview), drawn by one of the draw
// types: at the top left as it is, centred as it is, stretched over the window, or shrunk (never enlarged) into
// the window keeping its proportions, centred. The rest of the window shows its background colour.

#include <wx/bitmap.h>
#include <wx/window.h>

class GAbstractDIBImage;

class GDIBImageView : public wxWindow {
public:
    enum DrawType { TopLeft = 0, Centred = 1, Stretched = 2, Fitted = 4 };

    GDIBImageView(wxWindow* parent, int id, const wxPoint& position = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize);

    // The picture shown (a copy); an image without pixels shows nothing.
    void set_image(const GAbstractDIBImage& image);
    void set_bitmap(const wxBitmap& bitmap);
    const wxBitmap& get_bitmap() const { return m_bitmap; }
    void set_draw_type(int type);
    int get_draw_type() const { return m_drawType; }
    // Where the picture lands in the window for the current draw type and size.
    wxRect pictureRect() const;

private:
    void onPaint(wxPaintEvent& event);
    wxSize DoGetBestSize() const override;

    wxBitmap m_bitmap;
    int m_drawType = Centred;
};
