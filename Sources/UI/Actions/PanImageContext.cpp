#include "Actions/PanImageContext.h"

#include "Views/GCursorArt.h"
#include "Views/GKorvaneView.h"

G_IMPLEMENT_CLASS(PanImageContext, GEditorContext)

PanImageContext::PanImageContext() {
    clickSelection(false);
}

PanImageContext::~PanImageContext() {
    DestroyCursor(m_cursor);
}

// Made when first shown, so that a context made without a display draws nothing.
HCURSOR PanImageContext::onSetCursor(POINT) {
    if (m_cursor == nullptr)
        m_cursor = GCursorArt::Pan();
    return m_cursor;
}

void PanImageContext::onLButtonDown(UINT, POINT point) {
    m_dragging = true;
    m_grabbed = point;
    setCapture();
}

void PanImageContext::onMouseMove(UINT, POINT point) {
    GKorvaneView* view = getView();
    if (!m_dragging || view == nullptr)
        return;
    // The grabbed model point stays under the pointer: the scroll position moves by the zoomed distance.
    const GViewZoom zoom = view->getZoom();
    const POINT scroll = view->getScrollPosition();
    view->setScrollPosition(
        {scroll.x + zoom.apply(m_grabbed.x - point.x), scroll.y + zoom.apply(m_grabbed.y - point.y)});
}

void PanImageContext::onLButtonUp(UINT, POINT) {
    m_dragging = false;
    releaseCapture();
}
