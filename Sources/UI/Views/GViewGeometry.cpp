#include "Views/GViewGeometry.h"

#include "Drawing/GProportionalStretch.h"

namespace {

// One axis of the scroll position: at most the scene's excess over the window, at least 0; a scene smaller than
// the window is centred (a negative position).
int clampAxis(int requested, int excess) {
    if (excess < 0)
        return excess / 2;
    return requested > excess ? excess : requested < 0 ? 0 : requested;
}

} // namespace

bool GViewGeometry::setZoom(const GViewZoom& zoom) {
    if (zoom == m_zoom)
        return false;
    m_zoom = zoom;
    return true;
}

bool GViewGeometry::fitImage(bool on) {
    if (on == m_fitImage)
        return false;
    m_fitImage = on;
    return true;
}

GViewZoom GViewGeometry::getZoomToFitImage() const {
    if (m_scene.cx <= 0 || m_scene.cy <= 0)
        return GViewZoom();
    SIZE fitted = m_scene;
    GProportionalStretch(fitted, m_client);
    return fitted.cx > 0 ? GViewZoom(fitted.cx, m_scene.cx) : GViewZoom();
}

POINT GViewGeometry::getScrollPosition() const {
    const GViewZoom zoom = getZoom();
    return {clampAxis(m_requested.x, zoom.apply(m_scene.cx) - m_client.cx),
            clampAxis(m_requested.y, zoom.apply(m_scene.cy) - m_client.cy)};
}

POINT GViewGeometry::setScrollPosition(POINT requested) {
    const POINT before = getScrollPosition();
    m_requested = requested;
    const POINT after = getScrollPosition();
    return {after.x - before.x, after.y - before.y};
}

void GViewGeometry::DPtoLP(POINT& point) const {
    const GViewZoom zoom = getZoom();
    const POINT scroll = getScrollPosition();
    point = {zoom.applyInversed(point.x + scroll.x), zoom.applyInversed(point.y + scroll.y)};
}

void GViewGeometry::LPtoDP(POINT& point) const {
    const GViewZoom zoom = getZoom();
    const POINT scroll = getScrollPosition();
    point = {zoom.apply(point.x) - scroll.x, zoom.apply(point.y) - scroll.y};
}

void GViewGeometry::DPtoLP(RECT& rect) const {
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    DPtoLP(corners[0]);
    DPtoLP(corners[1]);
    rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void GViewGeometry::LPtoDP(RECT& rect) const {
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    LPtoDP(corners[0]);
    LPtoDP(corners[1]);
    rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}
