// Pens, brushes, the stock objects, and the drawing state of a device context.

#include "gdi/Fonts.h"
#include "gdi/GdiObjects.h"
#include "gdi/Painter.h"

#include <array>

namespace {

struct StockObjects {
    std::array<GdiBrush, 6> brushes;
    std::array<GdiPen, 3> pens;

    StockObjects() {
        const COLORREF greys[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64),
                                  RGB(0, 0, 0)};
        for (std::size_t i = 0; i < brushes.size(); ++i) {
            brushes[i].stock = true;
            brushes[i].hollow = i == NULL_BRUSH;
            brushes[i].colour = i < 5 ? greys[i] : 0;
        }
        const COLORREF penColours[] = {RGB(255, 255, 255), RGB(0, 0, 0), 0};
        for (std::size_t i = 0; i < pens.size(); ++i) {
            pens[i].stock = true;
            pens[i].colour = penColours[i];
            pens[i].style = i == 2 ? PS_NULL : PS_SOLID;
        }
    }
};

StockObjects& stock() {
    static StockObjects objects;
    return objects;
}

template <class T>
HGDIOBJ select(T*& slot, T* object) {
    T* previous = slot;
    --previous->selections;
    slot = object;
    ++object->selections;
    return previous;
}

template <class T>
T setState(HDC hdc, T GdiDC::*field, T value) {
    T previous = hdc->*field;
    hdc->*field = value;
    return previous;
}

} // namespace

HPEN DefaultPen() {
    return &stock().pens[BLACK_PEN - WHITE_PEN];
}

HBRUSH DefaultBrush() {
    return &stock().brushes[WHITE_BRUSH];
}

HPEN CreatePen(int style, int, COLORREF colour) {
    if (style != PS_SOLID && style != PS_NULL)
        return nullptr;
    auto* pen = new GdiPen;
    pen->style = style;
    pen->colour = colour & 0xFFFFFF;
    return pen;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto* brush = new GdiBrush;
    brush->colour = colour & 0xFFFFFF;
    return brush;
}

GdiObject* GetStockObject(int which) {
    if (which >= WHITE_BRUSH && which <= NULL_BRUSH)
        return &stock().brushes[static_cast<std::size_t>(which)];
    if (which >= WHITE_PEN && which <= NULL_PEN)
        return &stock().pens[static_cast<std::size_t>(which - WHITE_PEN)];
    return GetStockFont(which);
}

HGDIOBJ SelectObject(HDC hdc, HPEN pen) {
    return hdc != nullptr && pen != nullptr ? select(hdc->pen, pen) : nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HBRUSH brush) {
    return hdc != nullptr && brush != nullptr ? select(hdc->brush, brush) : nullptr;
}

BOOL DeleteObject(HPEN pen) {
    return pen != nullptr && pen->stock ? TRUE : DeleteObject(static_cast<HGDIOBJ>(pen));
}

BOOL DeleteObject(HBRUSH brush) {
    return brush != nullptr && brush->stock ? TRUE : DeleteObject(static_cast<HGDIOBJ>(brush));
}

int SetROP2(HDC hdc, int mode) {
    return hdc != nullptr && mode >= R2_BLACK && mode <= R2_WHITE ? setState(hdc, &GdiDC::rop2, mode) : 0;
}

int GetROP2(HDC hdc) {
    return hdc != nullptr ? hdc->rop2 : 0;
}

int SetPolyFillMode(HDC hdc, int mode) {
    return hdc != nullptr && (mode == ALTERNATE || mode == WINDING) ? setState(hdc, &GdiDC::polyFillMode, mode) : 0;
}

int GetPolyFillMode(HDC hdc) {
    return hdc != nullptr ? hdc->polyFillMode : 0;
}

int SetBkMode(HDC hdc, int mode) {
    return hdc != nullptr && (mode == TRANSPARENT || mode == OPAQUE) ? setState(hdc, &GdiDC::bkMode, mode) : 0;
}

int GetBkMode(HDC hdc) {
    return hdc != nullptr ? hdc->bkMode : 0;
}

COLORREF SetBkColor(HDC hdc, COLORREF colour) {
    return hdc != nullptr ? setState(hdc, &GdiDC::bkColour, colour & 0xFFFFFF) : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc) {
    return hdc != nullptr ? hdc->bkColour : CLR_INVALID;
}

COLORREF SetTextColor(HDC hdc, COLORREF colour) {
    return hdc != nullptr ? setState(hdc, &GdiDC::textColour, colour & 0xFFFFFF) : CLR_INVALID;
}

COLORREF GetTextColor(HDC hdc) {
    return hdc != nullptr ? hdc->textColour : CLR_INVALID;
}

namespace {

bool inside(HDC hdc, int x, int y) {
    return hdc != nullptr && hdc->selected != nullptr && x >= 0 && y >= 0 && x < hdc->selected->width &&
           y < hdc->selected->height;
}

COLORREF colourRef(DWORD rgb) {
    return RGB(static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb));
}

} // namespace

COLORREF GetPixel(HDC hdc, int x, int y) {
    return inside(hdc, x, y) ? colourRef(hdc->selected->colourAt(x, y)) : CLR_INVALID;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
    if (!inside(hdc, x, y))
        return CLR_INVALID;
    GdiBitmap& bitmap = *hdc->selected;
    bitmap.setRaw(x, y, bitmap.rawFor(Painter::Rgb(colour)));
    return GetPixel(hdc, x, y);
}
