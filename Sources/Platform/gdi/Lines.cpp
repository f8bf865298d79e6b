// Lines: LineDDA, and the one-pixel pen's MoveToEx, LineTo and Polyline.

#include "gdi/GdiObjects.h"
#include "gdi/LineRaster.h"
#include "gdi/Painter.h"

#include <optional>

BOOL LineDDA(int x1, int y1, int x2, int y2, LINEDDAPROC proc, LPARAM data) {
    if (proc == nullptr)
        return FALSE;
    RasterLine(x1, y1, x2, y2, 0, [&](int x, int y) { proc(x, y, data); });
    return TRUE;
}

void DrawPenLine(const Painter& painter, int x0, int y0, int x1, int y1) {
    painter.line(x0, y0, x1, y1, PenLineBias(x0, y0, x1, y1));
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    if (hdc == nullptr)
        return FALSE;
    if (previous != nullptr)
        *previous = hdc->position;
    hdc->position = {x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    if (hdc == nullptr)
        return FALSE;
    if (const std::optional<Painter> painter = PenPainter(hdc))
        DrawPenLine(*painter, hdc->position.x, hdc->position.y, x, y);
    hdc->position = {x, y};
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    if (hdc == nullptr || points == nullptr || count < 2)
        return FALSE;
    if (const std::optional<Painter> painter = PenPainter(hdc))
        for (int i = 1; i < count; ++i)
            DrawPenLine(*painter, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    return TRUE;
}
