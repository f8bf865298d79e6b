// Polygons and rectangles: the brush fills the inside first, then the pen draws the outline on top.

#include "gdi/GdiObjects.h"
#include "gdi/Painter.h"
#include "gdi/PolygonFill.h"
#include "win/Saturated.h"

#include <algorithm>
#include <utility>

namespace {

void fillRect(const Painter& painter, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        painter.span(y, left, right);
}

// The closed outline through the points, each edge's end left to the next edge.
void outline(const Painter& painter, const POINT* points, int count) {
    for (int i = 0; i < count; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        DrawPenLine(painter, a.x, a.y, b.x, b.y);
    }
}

RECT normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

} // namespace

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    if (hdc == nullptr || hdc->selected == nullptr || points == nullptr || count < 2)
        return FALSE;
    if (const std::optional<Painter> brush = BrushPainter(hdc, hdc->brush))
        ScanPolygon(points, count, hdc->polyFillMode == WINDING, 0, hdc->selected->height,
                    [&](int y, int x0, int x1) { brush->span(y, x0, x1); });
    if (const std::optional<Painter> pen = PenPainter(hdc))
        outline(*pen, points, count);
    return TRUE;
}

// The outline runs along the rectangle's inner border (right and bottom excluded) and the brush fills inside it;
// without a pen the brush fills the rectangle less its right column and bottom row.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    if (hdc == nullptr || hdc->selected == nullptr)
        return FALSE;
    const RECT r = normalised(left, top, right, bottom);
    const std::optional<Painter> pen = PenPainter(hdc);
    const int inset = pen ? 1 : 0;
    if (const std::optional<Painter> brush = BrushPainter(hdc, hdc->brush))
        fillRect(*brush, r.left + inset, r.top + inset, r.right - 1, r.bottom - 1);
    if (pen && r.right > r.left && r.bottom > r.top) {
        const POINT corners[] = {
            {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
        outline(*pen, corners, 4);
    }
    return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr || hdc == nullptr || hdc->selected == nullptr || brush == nullptr)
        return 0;
    if (!brush->hollow)
        fillRect(Painter(*hdc->selected, Painter::PenValue(*hdc, brush->colour), R2_COPYPEN), rect->left, rect->top,
                 rect->right, rect->bottom);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr || hdc == nullptr || hdc->selected == nullptr || brush == nullptr)
        return 0;
    if (brush->hollow || rect->right <= rect->left || rect->bottom <= rect->top)
        return 1;
    const Painter painter(*hdc->selected, Painter::PenValue(*hdc, brush->colour), R2_COPYPEN);
    fillRect(painter, rect->left, rect->top, rect->right, rect->top + 1);
    fillRect(painter, rect->left, rect->bottom - 1, rect->right, rect->bottom);
    fillRect(painter, rect->left, rect->top + 1, rect->left + 1, rect->bottom - 1);
    fillRect(painter, rect->right - 1, rect->top + 1, rect->right, rect->bottom - 1);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    if (rect == nullptr || hdc == nullptr || hdc->selected == nullptr)
        return FALSE;
    fillRect(Painter(*hdc->selected, 0, R2_NOT), rect->left, rect->top, rect->right, rect->bottom);
    return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    if (hdc == nullptr || hdc->selected == nullptr)
        return FALSE;
    const DWORD brush = hdc->brush->hollow ? 0 : Painter::PenValue(*hdc, hdc->brush->colour);
    int mix = 0;
    switch (rop) {
    case PATCOPY:
        mix = hdc->brush->hollow ? R2_NOP : R2_COPYPEN;
        break;
    case PATINVERT:
        mix = hdc->brush->hollow ? R2_NOP : R2_XORPEN;
        break;
    case DSTINVERT:
        mix = R2_NOT;
        break;
    case BLACKNESS:
        mix = R2_BLACK;
        break;
    case WHITENESS:
        mix = R2_WHITE;
        break;
    default:
        return FALSE;
    }
    const RECT r = normalised(x, y, SaturatedAdd(x, width), SaturatedAdd(y, height));
    fillRect(Painter(*hdc->selected, brush, mix), r.left, r.top, r.right, r.bottom);
    return TRUE;
}
