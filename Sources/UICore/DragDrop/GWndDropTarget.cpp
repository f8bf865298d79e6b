#include "DragDrop/GWndDropTarget.h"

#include "DragDrop/GMoverDropSource.h"

#include <wx/window.h>

namespace {

// How close to an edge (pixels) a hovering drag scrolls the window.
constexpr int AutoScrollMargin = 16;

int beyondMargin(int at, int size) {
    if (at < AutoScrollMargin)
        return at - AutoScrollMargin;
    if (at >= size - AutoScrollMargin)
        return at - (size - AutoScrollMargin) + 1;
    return 0;
}

} // namespace

GWndDropTarget::GWndDropTarget(const std::vector<wxDataFormat>& formats, Handlers handlers)
    : m_received(new wxDataObjectComposite), m_files(new wxFileDataObject), m_handlers(std::move(handlers)) {
    bool preferred = true;
    for (const wxDataFormat& format : formats) {
        m_received->Add(new wxCustomDataObject(format), preferred);
        preferred = false;
    }
    m_received->Add(m_files);
    SetDataObject(m_received);
}

void GWndDropTarget::Register(wxWindow* window) {
    m_window = window;
    window->SetDropTarget(this);
}

wxDragResult GWndDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult suggested) {
    return OnDragOver(x, y, suggested);
}

wxDragResult GWndDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested) {
    if (m_window != nullptr && m_handlers.autoScroll) {
        const wxSize size = m_window->GetClientSize();
        const wxPoint distance(beyondMargin(x, size.x), beyondMargin(y, size.y));
        if (distance != wxPoint(0, 0))
            m_handlers.autoScroll(distance);
    }
    return m_handlers.dragOver ? m_handlers.dragOver({x, y}, suggested) : wxDragNone;
}

wxDragResult GWndDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult suggested) {
    // A drag from this program hands over its own data object, with every format it has.
    if (const wxDataObject* own = GMoverDropSource::CurrentData())
        return drop({x, y}, *own) ? suggested : wxDragNone;
    if (!GetData())
        return wxDragNone;
    const wxDataObject* data = m_received->GetObject(m_received->GetReceivedFormat());
    return data != nullptr && drop({x, y}, *data) ? suggested : wxDragNone;
}
