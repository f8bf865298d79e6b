#include "Drawing/GFillSolidDifference.h"

void GFillSolidDifference(wxDC& dc, const wxRect& outer, const wxRect& inner, const wxColour& colour) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour));
    const wxRect hole = wxRect(inner).Intersect(outer);
    if (hole.IsEmpty()) {
        dc.DrawRectangle(outer);
        return;
    }
    // Above and below the hole across the whole width, then left and right of it beside the hole.
    const wxRect parts[] = {
        {outer.x, outer.y, outer.width, hole.y - outer.y},
        {outer.x, hole.GetBottom() + 1, outer.width, outer.GetBottom() - hole.GetBottom()},
        {outer.x, hole.y, hole.x - outer.x, hole.height},
        {hole.GetRight() + 1, hole.y, outer.GetRight() - hole.GetRight(), hole.height},
    };
    for (const wxRect& part : parts)
        if (part.width > 0 && part.height > 0)
            dc.DrawRectangle(part);
}
