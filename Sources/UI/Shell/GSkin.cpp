#include "Shell/GSkin.h"

#include "Shell/GKorvaneUserInterface.h"

#include <wx/dcmemory.h>

namespace {

const wxColour Top(52, 58, 72);
const wxColour Bottom(28, 31, 40);
const wxColour Light(96, 106, 128);
const wxColour Shadow(12, 14, 18);
const wxColour Well(20, 22, 28);

// A sunken frame around the area: dark above and left, light below and right.
void frame(wxDC& dc, const RECT& area) {
    const wxRect inner(area.left, area.top, area.right - area.left, area.bottom - area.top);
    const wxRect outer = inner.Inflate(2, 2);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(Well));
    dc.DrawRectangle(outer);
    dc.SetPen(wxPen(Shadow));
    dc.DrawLine(outer.GetLeft(), outer.GetTop(), outer.GetRight(), outer.GetTop());
    dc.DrawLine(outer.GetLeft(), outer.GetTop(), outer.GetLeft(), outer.GetBottom());
    dc.SetPen(wxPen(Light));
    dc.DrawLine(outer.GetLeft(), outer.GetBottom(), outer.GetRight() + 1, outer.GetBottom());
    dc.DrawLine(outer.GetRight(), outer.GetTop(), outer.GetRight(), outer.GetBottom());
}

wxBitmap drawSkin() {
    const SIZE size = GKorvaneUserInterface::FormSize;
    wxBitmap skin(size.cx, size.cy);
    wxMemoryDC dc(skin);
    dc.GradientFillLinear(wxRect(0, 0, size.cx, size.cy), Top, Bottom, wxDOWN);
    for (const auto area : {GKorvaneUserInterface::AreaMainView, GKorvaneUserInterface::AreaPalette,
                            GKorvaneUserInterface::AreaPaletteTabs, GKorvaneUserInterface::AreaPaletteScrollBar,
                            GKorvaneUserInterface::AreaToolPages, GKorvaneUserInterface::AreaToolTabs,
                            GKorvaneUserInterface::AreaSlider}) {
        RECT rect{};
        GKorvaneUserInterface::getAreaRect(area, rect);
        frame(dc, rect);
    }
    return skin;
}

} // namespace

const wxBitmap& GSkin::Bitmap() {
    static const wxBitmap skin = drawSkin();
    return skin;
}

wxBitmap GSkin::SliderShaft() {
    wxBitmap shaft(64, 15);
    wxMemoryDC dc(shaft);
    dc.SetBackground(wxBrush(Well));
    dc.Clear();
    dc.SetPen(wxPen(Shadow));
    dc.DrawLine(0, 7, 64, 7);
    dc.SetPen(wxPen(Light));
    dc.DrawLine(0, 8, 64, 8);
    return shaft;
}

wxBitmap GSkin::SliderThumb() {
    wxBitmap thumb(24, 15);
    wxMemoryDC dc(thumb);
    dc.GradientFillLinear(wxRect(0, 0, 24, 15), wxColour(150, 160, 184), wxColour(84, 96, 122), wxDOWN);
    dc.SetPen(wxPen(Shadow));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, 24, 15);
    dc.SetPen(wxPen(wxColour(40, 46, 58)));
    for (const int x : {9, 12, 15})
        dc.DrawLine(x, 4, x, 11);
    return thumb;
}
