#pragma once
// GViewGeometry: how the scene view maps window pixels to model pixels: the zoom (or the zoom that fits the scene
// into the window), the scroll position kept inside the scene (a scene smaller than the window is centred), and
// the conversions both ways. The view window holds one and keeps its sizes up to date.

#include "Views/GViewZoom.h"
#include "win/Win32Types.h"

class GViewGeometry {
public:
    void setClientSize(SIZE size) { m_client = size; }
    void setSceneSize(SIZE size) { m_scene = size; }
    SIZE clientSize() const { return m_client; }
    SIZE sceneSize() const { return m_scene; }

    // The fitting zoom while fitting is on, else the stored one.
    GViewZoom getZoom() const { return m_fitImage ? getZoomToFitImage() : m_zoom; }
    // False when the zoom was already that.
    bool setZoom(const GViewZoom& zoom);
    bool fitImage() const { return m_fitImage; }
    bool fitImage(bool on);
    // The scene's width fitted into the window keeping its proportions, over the scene's width.
    GViewZoom getZoomToFitImage() const;

    // The requested position, kept so that the scene fills the window or, when smaller, is centred.
    POINT getScrollPosition() const;
    // Stores the request; returns how far the clamped position moved.
    POINT setScrollPosition(POINT requested);

    void DPtoLP(POINT& point) const;
    void LPtoDP(POINT& point) const;
    void DPtoLP(RECT& rect) const;
    void LPtoDP(RECT& rect) const;

private:
    GViewZoom m_zoom;
    bool m_fitImage = false;
    POINT m_requested{0, 0};
    SIZE m_client{0, 0};
    SIZE m_scene{0, 0};
};
