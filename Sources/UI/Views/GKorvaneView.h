#pragma once
// GKorvaneView: the window that shows the scene. It maps window pixels to model pixels (zoom and scroll), paints
// through the document, routes mouse input to the current editor context and repaints what the models invalidate.

#include "Contexts/GContextInputRouter.h"
#include "Imaging/GBitmapDC.h"
#include "Imaging/GDIBImage.h"
#include "Threads/GCallbackReceiver.h"
#include "Views/GViewGeometry.h"

#include <wx/dnd.h>
#include <wx/window.h>

#include <memory>
#include <optional>

class GKorvaneDoc;
class wxImage;

class GKorvaneView : public wxWindow, public GCallbackReceiver {
public:
    GKorvaneView(wxWindow* parent, GKorvaneDoc* document);
    ~GKorvaneView() override;

    GKorvaneDoc* GetDocument() const { return m_document; }
    GViewGeometry& geometry() { return m_geometry; }
    GViewZoom getZoom() const { return m_geometry.getZoom(); }
    void setZoom(const GViewZoom& zoom);
    void fitImage(bool on);
    // The zoom times num / den (between 1/16 and 16), keeping the middle of the window on the same model point.
    void zoomBy(int num, int den);
    POINT getScrollPosition() const { return m_geometry.getScrollPosition(); }
    void setScrollPosition(POINT position);
    void DPtoLP(POINT& point) const { m_geometry.DPtoLP(point); }
    void LPtoDP(POINT& point) const { m_geometry.LPtoDP(point); }

    // The window's picture (the scene as painted, and the colour around it), for screenshots and tests.
    wxImage renderImage();

    // Feedback of tools (GKorvaneViewDC): a device context on the view's back buffer, in model pixels, up to date
    // with the scene; what is drawn there shows once the area is refreshed, and stays until the scene under it
    // changes, so that drawing it again with XOR takes it away exactly. Null for an empty scene.
    HDC feedbackDC();
    // The window area of a rectangle of the scene painted again from the back buffer.
    void refreshModelRect(RECT rect);

    void callbackReceived(GCallbackEvent& event) override;

private:
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onMouse(wxMouseEvent& event);
    // A capture taken away (another window, the window manager) ends the drag as a button release would, so that
    // a tool finishes what it started.
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    // The current context's cursor at the point (the arrow when it names none); made anew only when it changes.
    void updateCursor(POINT point);
    // The wheel scrolls up and down, a notch by at most the window's height.
    void onMouseWheel(wxMouseEvent& event);
    // The menu of the object under the pointer (or of the background); its command acts on that model.
    void onContextMenu(wxContextMenuEvent& event);
    // Dropped models and pictures become objects where they are dropped; outside the scene nothing is taken.
    void registerDropTarget();
    bool insideScene(wxPoint at) const;
    wxDragResult dragEffect(wxPoint at) const;
    bool dropData(wxPoint at, const wxDataObject& data);
    // The canvas (the scene in model pixels) at the scene's size; false for an empty scene.
    bool prepareCanvas();
    // What changed of the scene drawn again into the canvas by the document (and its context).
    void drawScene();
    void markStale(const RECT& rect);
    // Draws the part of the window within `area` (window pixels) onto `dc`.
    void paintArea(wxDC& dc, const wxRect& area);
    void updateSceneSize();
    // The invalid part of the scene (model pixels) repainted.
    void invalidateModelRect(RECT rect);

    GKorvaneDoc* m_document;
    GViewGeometry m_geometry;
    GContextInputRouter m_router;
    GDIBImage m_canvas;
    std::unique_ptr<GBitmapDC> m_canvasDC;
    POINT m_lastPoint{0, 0};    // in model pixels
    HCURSOR m_cursor = nullptr; // the context's cursor shown
    RECT m_stale{0, 0, 0, 0};   // the part of the canvas to draw again from the document, in model pixels
};
