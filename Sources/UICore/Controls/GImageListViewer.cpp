#include "Controls/GImageListViewer.h"

#include "Controls/GImageScrollBar.h"
#include "Drawing/GDrawPicture.h"
#include "Framework/GOnMouseWheel.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>

GlobalColor& GImageListViewer::BackgroundColor() {
    static GlobalColor color("ListBackground", 0x3A3535);
    return color;
}

GlobalColor& GImageListViewer::IconBackgroundColor() {
    static GlobalColor color("IconBackground", 0x5C5656);
    return color;
}

GImageListViewer::GImageListViewer(wxWindow* parent, int id, const wxPoint& position, const wxSize& size)
    : wxWindow(parent, id, position, size, wxBORDER_NONE | wxWANTS_CHARS) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &GImageListViewer::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &GImageListViewer::onLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &GImageListViewer::onDoubleClick, this);
    Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& event) { onMouseWheel(event); });
    Bind(wxEVT_KEY_DOWN, &GImageListViewer::onKey, this);
    Bind(wxEVT_SIZE, &GImageListViewer::onSize, this);
    for (const wxEventTypeTag<wxScrollEvent>& type :
         {wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN,
          wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM})
        Bind(type, &GImageListViewer::onScroll, this);
}

GImageListViewer::~GImageListViewer() {
    attachScrollBar(nullptr);
}

void GImageListViewer::setItemCount(int count) {
    count = std::max(count, 0);
    m_bitmaps.resize(static_cast<std::size_t>(count));
    m_selected.resize(static_cast<std::size_t>(count));
    if (m_caret >= count)
        m_caret = -1;
    relayout();
}

void GImageListViewer::setItemSize(const wxSize& size) {
    m_itemSize = wxSize(std::max(size.x, 1), std::max(size.y, 1));
    relayout();
}

void GImageListViewer::relayout() {
    m_offset = std::clamp(m_offset, 0, maxOffset());
    updateScrollBar();
    Refresh(false);
}

void GImageListViewer::setItemFrame(int frame) {
    m_frame = std::max(frame, 0);
    Refresh(false);
}

void GImageListViewer::setColumns(int columns) {
    m_columns = std::max(columns, 1);
    relayout();
}

wxSize GImageListViewer::assignableSize() const {
    return {std::max(m_itemSize.x - 2 * m_frame, 0), std::max(m_itemSize.y - 2 * m_frame, 0)};
}

void GImageListViewer::setBitmap(int index, const wxBitmap& bitmap) {
    if (index < 0 || index >= getItemCount())
        return;
    m_bitmaps[static_cast<std::size_t>(index)] = bitmap;
    RefreshRect(getItemRect(index), false);
}

bool GImageListViewer::isSelected(int index) const {
    return index >= 0 && index < getItemCount() && m_selected[static_cast<std::size_t>(index)];
}

void GImageListViewer::select(int index, bool on) {
    if (index < 0 || index >= getItemCount())
        return;
    if (on && !m_multiple)
        clearSelection();
    m_selected[static_cast<std::size_t>(index)] = on;
    if (on)
        m_caret = index;
    RefreshRect(getItemRect(index), false);
}

void GImageListViewer::clearSelection() {
    for (int i = 0; i < getItemCount(); ++i)
        if (m_selected[static_cast<std::size_t>(i)]) {
            m_selected[static_cast<std::size_t>(i)] = false;
            RefreshRect(getItemRect(i), false);
        }
}

std::vector<int> GImageListViewer::getSelection() const {
    std::vector<int> selection;
    for (int i = 0; i < getItemCount(); ++i)
        if (m_selected[static_cast<std::size_t>(i)])
            selection.push_back(i);
    return selection;
}

wxSize GImageListViewer::contentSize() const {
    const int rows = (getItemCount() + m_columns - 1) / m_columns;
    return {m_columns * m_itemSize.x, rows * m_itemSize.y};
}

wxRect GImageListViewer::getItemRect(int index) const {
    return {index % m_columns * m_itemSize.x, index / m_columns * m_itemSize.y - m_offset, m_itemSize.x, m_itemSize.y};
}

int GImageListViewer::hitTest(const wxPoint& point) const {
    if (point.x < 0 || point.y < 0 || point.x >= m_columns * m_itemSize.x)
        return -1;
    const int index = (point.y + m_offset) / m_itemSize.y * m_columns + point.x / m_itemSize.x;
    return index < getItemCount() ? index : -1;
}

int GImageListViewer::maxOffset() const {
    return std::max(contentSize().y - GetClientSize().y, 0);
}

void GImageListViewer::scrollTo(int offset) {
    offset = std::clamp(offset, 0, maxOffset());
    if (offset == m_offset)
        return;
    m_offset = offset;
    updateScrollBar();
    Refresh(false);
}

void GImageListViewer::ensureVisible(int index) {
    if (index < 0 || index >= getItemCount())
        return;
    const wxRect box = getItemRect(index);
    if (box.y < 0)
        scrollTo(m_offset + box.y);
    else if (box.GetBottom() >= GetClientSize().y)
        scrollTo(m_offset + box.GetBottom() + 1 - GetClientSize().y);
}

void GImageListViewer::attachScrollBar(GImageScrollBar* bar) {
    if (m_bar != nullptr) {
        m_bar->Unbind(wxEVT_DESTROY, &GImageListViewer::onBarDestroyed, this);
        if (m_bar->getNotifyWindow() == this)
            m_bar->setNotifyWindow(nullptr);
    }
    m_bar = bar;
    if (m_bar != nullptr) {
        m_bar->setNotifyWindow(this);
        m_bar->Bind(wxEVT_DESTROY, &GImageListViewer::onBarDestroyed, this);
    }
    updateScrollBar();
}

// The bar may go first (a sibling made earlier): it is forgotten, never reached again.
void GImageListViewer::onBarDestroyed(wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == m_bar)
        m_bar = nullptr;
    event.Skip();
}

void GImageListViewer::updateScrollBar() {
    if (m_bar == nullptr)
        return;
    m_bar->setScrollRange(0, maxOffset());
    m_bar->setScrollPos(m_offset);
    m_bar->Enable(maxOffset() > 0);
}

void GImageListViewer::onScroll(wxScrollEvent& event) {
    const wxEventType type = event.GetEventType();
    const int page = std::max(GetClientSize().y - m_itemSize.y, m_itemSize.y);
    if (type == wxEVT_SCROLL_LINEUP)
        scrollTo(m_offset - m_itemSize.y);
    else if (type == wxEVT_SCROLL_LINEDOWN)
        scrollTo(m_offset + m_itemSize.y);
    else if (type == wxEVT_SCROLL_PAGEUP)
        scrollTo(m_offset - page);
    else if (type == wxEVT_SCROLL_PAGEDOWN)
        scrollTo(m_offset + page);
    else if (type == wxEVT_SCROLL_TOP)
        scrollTo(0);
    else if (type == wxEVT_SCROLL_BOTTOM)
        scrollTo(maxOffset());
    else
        scrollTo(event.GetPosition());
}

void GImageListViewer::onMouseWheel(wxMouseEvent& event) {
    constexpr int LinePixels = 16;
    const GWheelScroll wheel = GOnMouseWheel(event);
    scrollTo(m_offset + wheel.lines * (wheel.page ? GetClientSize().y : LinePixels));
}

void GImageListViewer::onSize(wxSizeEvent& event) {
    relayout();
    event.Skip();
}

void GImageListViewer::sendListEvent(wxEventType type, int index) {
    wxCommandEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetInt(index);
    ProcessWindowEvent(event);
}

void GImageListViewer::clickItem(int index, bool toggle, bool extend) {
    if (index < 0) {
        if (!toggle && !extend)
            clearSelection();
    } else if (m_multiple && extend && m_caret >= 0) {
        const int caret = m_caret;
        clearSelection();
        for (int i = std::min(caret, index); i <= std::max(caret, index); ++i)
            select(i);
        m_caret = caret;
    } else if (m_multiple && toggle) {
        select(index, !isSelected(index));
        m_caret = index;
    } else {
        clearSelection();
        select(index);
        ensureVisible(index);
    }
    sendListEvent(wxEVT_LISTBOX, index);
}

void GImageListViewer::onLeftDown(wxMouseEvent& event) {
    SetFocus();
    clickItem(hitTest(event.GetPosition()), event.ControlDown(), event.ShiftDown());
}

void GImageListViewer::onDoubleClick(wxMouseEvent& event) {
    sendListEvent(wxEVT_LISTBOX_DCLICK, hitTest(event.GetPosition()));
}

void GImageListViewer::onKey(wxKeyEvent& event) {
    const int count = getItemCount();
    int target = m_caret;
    switch (event.GetKeyCode()) {
    case WXK_LEFT:
        target = m_caret - 1;
        break;
    case WXK_RIGHT:
        target = m_caret + 1;
        break;
    case WXK_UP:
        target = m_caret - m_columns;
        break;
    case WXK_DOWN:
        target = m_caret < 0 ? 0 : m_caret + m_columns;
        break;
    case WXK_HOME:
        target = 0;
        break;
    case WXK_END:
        target = count - 1;
        break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        if (m_caret >= 0)
            sendListEvent(wxEVT_LISTBOX_DCLICK, m_caret);
        return;
    default:
        event.Skip();
        return;
    }
    if (count > 0)
        clickItem(std::clamp(target, 0, count - 1), false, event.ShiftDown());
}

wxBitmap GImageListViewer::itemBitmap(int index) {
    return m_bitmaps[static_cast<std::size_t>(index)];
}

void GImageListViewer::drawItem(wxDC& dc, int index, const wxRect& box, bool selected) {
    const wxRect inner = wxRect(box).Deflate(m_frame);
    if (selected) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)));
        dc.DrawRectangle(wxRect(box).Deflate(std::max(m_frame - 2, 0)));
    }
    dc.SetPen(wxPen(IconBackgroundColor().getColour().ChangeLightness(130)));
    dc.SetBrush(wxBrush(IconBackgroundColor().getColour()));
    dc.DrawRectangle(inner);
    const wxBitmap bitmap = itemBitmap(index);
    if (bitmap.IsOk())
        GDrawPicture(dc, bitmap, GFitInside(bitmap.GetSize(), inner));
}

void GImageListViewer::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(BackgroundColor().getColour()));
    dc.Clear();
    const wxRect client(GetClientSize());
    for (int index = 0; index < getItemCount(); ++index) {
        const wxRect box = getItemRect(index);
        if (box.Intersects(client))
            drawItem(dc, index, box, isSelected(index));
    }
}
