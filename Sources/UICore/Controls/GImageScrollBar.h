#pragma once
// GImageScrollBar: a scroll bar drawn from two pictures, a shaft (stretched to the bar) and a thumb; it runs
// vertically when its shaft picture is taller than wide, else horizontally. It
// moves nothing by itself: clicks, drags and keys become the framework's scroll events (line, page, thumb track,
// top, bottom, end of scrolling) sent to its notification window, which sets the position it decides on.

#include <wx/bitmap.h>
#include <wx/control.h>

class GImageScrollBar : public wxControl {
public:
    GImageScrollBar(wxWindow* parent, int id, const wxBitmap& shaft, const wxBitmap& thumb);

    void setScrollRange(int min, int max, bool redraw = true);
    void getScrollRange(int& min, int& max) const;
    void setScrollPos(int pos, bool redraw = true);
    int getScrollPos() const { return m_position; }
    // The window the scroll events go to; none by default.
    void setNotifyWindow(wxWindow* window) { m_notify = window; }
    wxWindow* getNotifyWindow() const { return m_notify; }
    bool isVertical() const { return m_vertical; }
    // The thumb's place within the bar, in the bar's pixels.
    wxRect thumbRect() const;

private:
    void onPaint(wxPaintEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onCaptureLost(wxMouseCaptureLostEvent& event);
    void onKey(wxKeyEvent& event);
    // The position under a place along the bar, and the bar's length and a point's place along it.
    int positionAt(int along) const;
    int length() const;
    int alongOf(const wxPoint& point) const { return m_vertical ? point.y : point.x; }
    void notify(wxEventType type, int position);
    void endDrag();
    wxSize DoGetBestSize() const override;

    wxBitmap m_shaft;
    wxBitmap m_thumb;
    bool m_vertical;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    wxWindow* m_notify = nullptr;
    int m_grab = -1; // while the thumb is dragged: the pointer's offset from the thumb's leading edge
};

// Scroll position and range of any scroll control (an image scroll bar, a slider or a scroll bar).
int GGetScrollPos(const wxWindow* control);
void GGetScrollRange(const wxWindow* control, int& min, int& max);
void GSetScrollPos(wxWindow* control, int pos);
