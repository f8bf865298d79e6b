#pragma once
// GKorvaneViewDC: where a tool draws its feedback (outlines drawn with XOR, a brush under the pointer): a device
// context on the active view's back buffer, in model pixels (zoom and scroll are the view's business). When it
// goes, the view shows what was drawn: the part given to touched(), or the whole view when none was given.

#include "gdi/WinGdi.h"

class GKorvaneView;

class GKorvaneViewDC {
public:
    // On the active view; without one (or for an empty scene) the context is null and drawing does nothing.
    GKorvaneViewDC();
    explicit GKorvaneViewDC(GKorvaneView* view);
    ~GKorvaneViewDC();
    GKorvaneViewDC(const GKorvaneViewDC&) = delete;
    GKorvaneViewDC& operator=(const GKorvaneViewDC&) = delete;

    HDC get() const { return m_dc; }
    operator HDC() const { return m_dc; }
    // The drawing touched this rectangle of the scene (the union of all given is shown again).
    void touched(const RECT& rect);

private:
    GKorvaneView* m_view;
    HDC m_dc;
    RECT m_touched{0, 0, 0, 0};
    bool m_narrowed = false;
};
