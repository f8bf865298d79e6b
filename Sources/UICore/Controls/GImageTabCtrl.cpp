#include "Controls/GImageTabCtrl.h"

#include "Drawing/GWxImage.h"
#include "ipl/ipl.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int DefaultThickness = 24;
constexpr int TextPadding = 12;

struct IplDelete {
    void operator()(IplImage* image) const { iplDeallocate(image, IPL_IMAGE_HEADER | IPL_IMAGE_DATA); }
};
using IplHolder = std::unique_ptr<IplImage, IplDelete>;

IplHolder grayImage(int width, int height) {
    IplImage* image = iplCreateImageHeader(1, 0, IPL_DEPTH_8U, "GRAY", "G", IPL_DATA_ORDER_PIXEL, IPL_ORIGIN_TL,
                                           IPL_ALIGN_DWORD, width, height, nullptr, nullptr, nullptr, nullptr);
    iplAllocateImage(image, 1, 0);
    return IplHolder(image);
}

// The text's coverage (0 to 255) as drawn white on black, rotated for a vertical strip.
wxImage textCoverage(const wxString& text, const wxFont& font, bool vertical) {
    wxMemoryDC measure;
    measure.SetFont(font);
    const wxSize extent = measure.GetTextExtent(text);
    wxBitmap canvas(std::max(extent.x, 1) + 2, std::max(extent.y, 1) + 2, 24);
    {
        wxMemoryDC dc(canvas);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        dc.SetFont(font);
        dc.SetTextForeground(*wxWHITE);
        dc.DrawText(text, 1, 1);
    }
    const wxImage coverage = canvas.ConvertToImage();
    return vertical ? coverage.Rotate90(false) : coverage;
}

// The title composited onto a tab picture at its centre: a dark outline (the coverage dilated) under white text.
void putTitle(wxImage& picture, const wxString& text, const wxFont& font, bool vertical) {
    if (text.empty())
        return;
    const wxImage coverage = textCoverage(text, font, vertical);
    const int width = coverage.GetWidth();
    const int height = coverage.GetHeight();
    IplHolder ink = grayImage(width, height);
    IplHolder outline = grayImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<unsigned char*>(ink->imageData + y * ink->widthStep)[x] = coverage.GetRed(x, y);
    iplDilate(ink.get(), outline.get(), 1);
    const int left = (picture.GetWidth() - width) / 2;
    const int top = (picture.GetHeight() - height) / 2;
    for (int y = std::max(0, -top); y < height && top + y < picture.GetHeight(); ++y)
        for (int x = std::max(0, -left); x < width && left + x < picture.GetWidth(); ++x) {
            const int a = reinterpret_cast<unsigned char*>(ink->imageData + y * ink->widthStep)[x];
            const int o = reinterpret_cast<unsigned char*>(outline->imageData + y * outline->widthStep)[x];
            const int px = left + x;
            const int py = top + y;
            // Outline: towards black by its coverage; then text: towards white by its own.
            auto mix = [&](int channel) {
                return (channel * (255 - o) / 255 * (255 - a) + 255 * a) / 255;
            };
            picture.SetRGB(px, py, static_cast<unsigned char>(mix(picture.GetRed(px, py))),
                           static_cast<unsigned char>(mix(picture.GetGreen(px, py))),
                           static_cast<unsigned char>(mix(picture.GetBlue(px, py))));
            if (picture.HasAlpha())
                picture.SetAlpha(px, py, static_cast<unsigned char>(std::max<int>(picture.GetAlpha(px, py), o)));
        }
}

} // namespace

GImageTabCtrl::GImageTabCtrl(wxWindow* parent, int id) : GImageListViewer(parent, id) {
    setItemFrame(0);
}

void GImageTabCtrl::setModule(HMODULE module) {
    m_module = module;
    relayout();
}

void GImageTabCtrl::setVertical(bool vertical) {
    m_vertical = vertical;
    relayout();
}

void GImageTabCtrl::sizeToContent() {
    const wxSize size = contentSize();
    SetMinSize(size);
    SetSize(size);
}

void GImageTabCtrl::setItemCount(int count) {
    m_tabs.resize(static_cast<std::size_t>(std::max(count, 0)));
    GImageListViewer::setItemCount(count);
}

int GImageTabCtrl::insertItem(int index, const TabItem& item) {
    index = std::clamp(index, 0, static_cast<int>(m_tabs.size()));
    const int selected = getCurSel();
    m_tabs.insert(m_tabs.begin() + index, item);
    GImageListViewer::setItemCount(static_cast<int>(m_tabs.size()));
    clearSelection();
    if (selected >= 0)
        select(selected >= index ? selected + 1 : selected);
    return index;
}

bool GImageTabCtrl::getItem(int index, TabItem& item) const {
    if (index < 0 || index >= static_cast<int>(m_tabs.size()))
        return false;
    item = m_tabs[static_cast<std::size_t>(index)];
    return true;
}

void GImageTabCtrl::setCurSel(int index) {
    clearSelection();
    select(index);
}

const ImageResource* GImageTabCtrl::tabPicture(int index) const {
    const wxString& name = m_tabs[static_cast<std::size_t>(index)].image;
    return m_module != nullptr && !name.empty() ? FindBitmapResource(m_module, name.utf8_str()) : nullptr;
}

int GImageTabCtrl::thickness() const {
    int thickness = 0;
    for (int i = 0; i < getItemCount(); ++i)
        if (const ImageResource* picture = tabPicture(i))
            thickness = std::max(thickness, m_vertical ? picture->width : picture->height);
    return thickness > 0 ? thickness : DefaultThickness;
}

int GImageTabCtrl::tabLength(int index) const {
    if (const ImageResource* picture = tabPicture(index))
        return m_vertical ? picture->height : picture->width;
    return GetTextExtent(m_tabs[static_cast<std::size_t>(index)].text).x + 2 * TextPadding;
}

wxRect GImageTabCtrl::getItemRect(int index) const {
    int start = 0;
    for (int i = 0; i < index; ++i)
        start += tabLength(i);
    const int length = index >= 0 && index < getItemCount() ? tabLength(index) : 0;
    return m_vertical ? wxRect(0, start, thickness(), length) : wxRect(start, 0, length, thickness());
}

int GImageTabCtrl::hitTest(const wxPoint& point) const {
    for (int i = 0; i < getItemCount(); ++i)
        if (getItemRect(i).Contains(point))
            return i;
    return -1;
}

wxSize GImageTabCtrl::contentSize() const {
    const wxRect last = getItemRect(getItemCount());
    return m_vertical ? wxSize(thickness(), last.y) : wxSize(last.x, thickness());
}

wxImage GImageTabCtrl::tabImage(int index) const {
    const wxString& name = m_tabs[static_cast<std::size_t>(index)].image;
    wxImage picture = tabPicture(index) != nullptr ? GWxImage::FromResource(m_module, name.utf8_str()) : wxImage();
    const wxRect box = getItemRect(index);
    if (!picture.IsOk()) {
        // Our own tab: a lighter band with a rim on the list's background.
        picture = wxImage(box.width, box.height);
        const wxColour band = IconBackgroundColor().getColour();
        picture.SetRGB(wxRect(0, 0, box.width, box.height), band.Red(), band.Green(), band.Blue());
        const wxColour rim = band.ChangeLightness(140);
        picture.SetRGB(m_vertical ? wxRect(0, 0, 1, box.height) : wxRect(0, 0, box.width, 1), rim.Red(), rim.Green(),
                       rim.Blue());
    }
    putTitle(picture, m_tabs[static_cast<std::size_t>(index)].text, GetFont(), m_vertical);
    return picture;
}

wxBitmap GImageTabCtrl::itemBitmap(int index) {
    return wxBitmap(tabImage(index));
}

void GImageTabCtrl::drawItem(wxDC& dc, int index, const wxRect& box, bool selected) {
    wxImage picture = tabImage(index);
    if (!selected)
        picture = picture.ChangeLightness(65);
    dc.DrawBitmap(wxBitmap(picture), box.GetPosition(), true);
    if (selected) {
        // A mark along the tab's outer edge.
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
        dc.DrawRectangle(m_vertical ? wxRect(box.x, box.y, 3, box.height) : wxRect(box.x, box.y, box.width, 3));
    }
}

void GImageTabCtrl::onMouseWheel(wxMouseEvent&) {}
