#include "Controls/GImageScrollBar.h"

#include <wx/dcbuffer.h>
#include <wx/scrolbar.h>
#include <wx/slider.h>

#include <algorithm>

GImageScrollBar::GImageScrollBar(wxWindow* parent, int id, const wxBitmap& shaft, const wxBitmap& thumb)
    : wxControl(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxWANTS_CHARS), m_shaft(shaft),
      m_thumb(thumb), m_vertical(shaft.IsOk() && shaft.GetHeight() > shaft.GetWidth()) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &GImageScrollBar::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &GImageScrollBar::onLeftDown, this);
    Bind(wxEVT_MOTION, &GImageScrollBar::onMotion, this);
    Bind(wxEVT_LEFT_UP, &GImageScrollBar::onLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &GImageScrollBar::onCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &GImageScrollBar::onKey, this);
}

void GImageScrollBar::setScrollRange(int min, int max, bool redraw) {
    m_min = min;
    m_max = std::max(min, max);
    m_position = std::clamp(m_position, m_min, m_max);
    if (redraw)
        Refresh(false);
}

void GImageScrollBar::getScrollRange(int& min, int& max) const {
    min = m_min;
    max = m_max;
}

void GImageScrollBar::setScrollPos(int pos, bool redraw) {
    m_position = std::clamp(pos, m_min, m_max);
    if (redraw)
        Refresh(false);
}

int GImageScrollBar::length() const {
    const wxSize size = GetClientSize();
    return m_vertical ? size.y : size.x;
}

wxRect GImageScrollBar::thumbRect() const {
    const wxSize size = GetClientSize();
    const int across = m_vertical ? size.x : size.y;
    const int thumbLength = m_thumb.IsOk() ? (m_vertical ? m_thumb.GetHeight() : m_thumb.GetWidth()) : across;
    const int extent = std::min(thumbLength, length());
    const int travel = length() - extent;
    const int start =
        m_max > m_min ? static_cast<int>(static_cast<long long>(m_position - m_min) * travel / (m_max - m_min)) : 0;
    return m_vertical ? wxRect(0, start, size.x, extent) : wxRect(start, 0, extent, size.y);
}

int GImageScrollBar::positionAt(int along) const {
    const wxRect thumb = thumbRect();
    const int travel = length() - (m_vertical ? thumb.height : thumb.width);
    if (travel <= 0)
        return m_min;
    return m_min + static_cast<int>(
                       (static_cast<long long>(std::clamp(along, 0, travel)) * (m_max - m_min) + travel / 2) / travel);
}

void GImageScrollBar::notify(wxEventType type, int position) {
    if (m_notify == nullptr)
        return;
    wxScrollEvent event(type, GetId(), position, m_vertical ? wxVERTICAL : wxHORIZONTAL);
    event.SetEventObject(this);
    m_notify->GetEventHandler()->ProcessEvent(event);
}

void GImageScrollBar::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    if (m_shaft.IsOk())
        dc.DrawBitmap(wxBitmap(m_shaft.ConvertToImage().Scale(std::max(size.x, 1), std::max(size.y, 1))), 0, 0);
    if (m_thumb.IsOk() && IsEnabled())
        dc.DrawBitmap(m_thumb, thumbRect().GetPosition(), true);
}

void GImageScrollBar::onLeftDown(wxMouseEvent& event) {
    if (!IsEnabled())
        return;
    SetFocus();
    const wxRect thumb = thumbRect();
    const int thumbStart = alongOf(thumb.GetPosition());
    if (thumb.Contains(event.GetPosition())) {
        m_grab = alongOf(event.GetPosition()) - thumbStart;
        CaptureMouse();
    } else {
        notify(alongOf(event.GetPosition()) < thumbStart ? wxEVT_SCROLL_PAGEUP : wxEVT_SCROLL_PAGEDOWN, m_position);
        notify(wxEVT_SCROLL_CHANGED, m_position);
    }
}

void GImageScrollBar::onMotion(wxMouseEvent& event) {
    if (m_grab >= 0)
        notify(wxEVT_SCROLL_THUMBTRACK, positionAt(alongOf(event.GetPosition()) - m_grab));
}

void GImageScrollBar::onLeftUp(wxMouseEvent& event) {
    if (m_grab < 0)
        return;
    const int position = positionAt(alongOf(event.GetPosition()) - m_grab);
    endDrag();
    notify(wxEVT_SCROLL_THUMBRELEASE, position);
    notify(wxEVT_SCROLL_CHANGED, position);
}

void GImageScrollBar::onCaptureLost(wxMouseCaptureLostEvent&) {
    m_grab = -1;
    notify(wxEVT_SCROLL_CHANGED, m_position);
}

void GImageScrollBar::endDrag() {
    m_grab = -1;
    if (HasCapture())
        ReleaseMouse();
}

void GImageScrollBar::onKey(wxKeyEvent& event) {
    wxEventType type = wxEVT_NULL;
    switch (event.GetKeyCode()) {
    case WXK_LEFT:
    case WXK_UP:
        type = wxEVT_SCROLL_LINEUP;
        break;
    case WXK_RIGHT:
    case WXK_DOWN:
        type = wxEVT_SCROLL_LINEDOWN;
        break;
    case WXK_PAGEUP:
        type = wxEVT_SCROLL_PAGEUP;
        break;
    case WXK_PAGEDOWN:
        type = wxEVT_SCROLL_PAGEDOWN;
        break;
    case WXK_HOME:
        type = wxEVT_SCROLL_TOP;
        break;
    case WXK_END:
        type = wxEVT_SCROLL_BOTTOM;
        break;
    default:
        event.Skip();
        return;
    }
    notify(type, m_position);
    notify(wxEVT_SCROLL_CHANGED, m_position);
}

wxSize GImageScrollBar::DoGetBestSize() const {
    if (m_vertical)
        return {m_thumb.IsOk() ? m_thumb.GetWidth() : 15, 100};
    return {100, m_thumb.IsOk() ? m_thumb.GetHeight() : 15};
}

int GGetScrollPos(const wxWindow* control) {
    if (const auto* bar = dynamic_cast<const GImageScrollBar*>(control))
        return bar->getScrollPos();
    if (const auto* slider = dynamic_cast<const wxSlider*>(control))
        return slider->GetValue();
    if (const auto* bar = dynamic_cast<const wxScrollBar*>(control))
        return bar->GetThumbPosition();
    return 0;
}

void GGetScrollRange(const wxWindow* control, int& min, int& max) {
    min = max = 0;
    if (const auto* bar = dynamic_cast<const GImageScrollBar*>(control)) {
        bar->getScrollRange(min, max);
    } else if (const auto* slider = dynamic_cast<const wxSlider*>(control)) {
        min = slider->GetMin();
        max = slider->GetMax();
    } else if (const auto* scroll = dynamic_cast<const wxScrollBar*>(control)) {
        max = scroll->GetRange() - scroll->GetThumbSize();
    }
}

void GSetScrollPos(wxWindow* control, int pos) {
    if (auto* bar = dynamic_cast<GImageScrollBar*>(control))
        bar->setScrollPos(pos);
    else if (auto* slider = dynamic_cast<wxSlider*>(control))
        slider->SetValue(pos);
    else if (auto* scroll = dynamic_cast<wxScrollBar*>(control))
        scroll->SetThumbPosition(pos);
}
