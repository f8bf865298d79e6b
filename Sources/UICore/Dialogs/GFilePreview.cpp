#include "Dialogs/GFilePreview.h"

#include "Controls/GDIBImageView.h"
#include "Drawing/GDrawPicture.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr int PreviewSide = 160;
constexpr int FollowMilliseconds = 200;

// The picture shrunk once into the box (kept when it fits), so that painting does not scale it again.
wxImage shrunk(const wxImage& picture, const wxSize& box) {
    const wxSize size = GFitInside(picture.GetSize(), wxRect(box)).GetSize();
    if (size == picture.GetSize())
        return picture;
    return size.x > 0 ? picture.Scale(size.x, size.y, wxIMAGE_QUALITY_BILINEAR) : wxImage();
}

} // namespace

GFilePreview::GFilePreview(wxWindow* parent, Loader loader)
    : wxPanel(parent, wxID_ANY), m_loader(std::move(loader)), m_timer(this),
      m_picture(new GDIBImageView(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(PreviewSide, PreviewSide)))),
      m_caption(new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE)) {
    m_picture->set_draw_type(GDIBImageView::Fitted);
    m_picture->SetMinSize(FromDIP(wxSize(PreviewSide, PreviewSide)));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(m_picture, 0, wxALL, FromDIP(4));
    column->Add(m_caption, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(4));
    SetSizerAndFit(column);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { showFile(m_selected()); });
}

void GFilePreview::follow(std::function<GString()> selected) {
    m_selected = std::move(selected);
    if (m_selected)
        m_timer.Start(FollowMilliseconds);
    else
        m_timer.Stop();
}

void GFilePreview::showFile(const GString& path) {
    if (path == m_path)
        return;
    m_path = path;
    const wxImage picture = path.isEmpty() || !m_loader ? wxImage() : m_loader(path);
    m_picture->set_bitmap(picture.IsOk() ? wxBitmap(shrunk(picture, m_picture->GetClientSize())) : wxBitmap());
    m_caption->SetLabel(picture.IsOk() ? wxString::Format("%i x %i", picture.GetWidth(), picture.GetHeight())
                                       : wxString());
}

wxString GFilePreview::caption() const {
    return m_caption->GetLabel();
}
