#include "gdi/Fonts.h"
#include "gdi/GdiObjects.h"

namespace {

// A 1 x 1 black-and-white bitmap, like the one every new memory device context holds.
HBITMAP stockBitmap() {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{{sizeof(BITMAPINFOHEADER), 1, -1, 1, 1, BI_RGB, 0, 0, 0, 2, 0}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    return CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, nullptr, 0);
}

} // namespace

HDC GetDC(HWND) {
    static GdiDC screen = [] {
        GdiDC dc;
        dc.screen = true;
        return dc;
    }();
    return &screen;
}

int ReleaseDC(HWND, HDC) {
    return 1;
}

HDC CreateCompatibleDC(HDC) {
    auto* dc = new GdiDC;
    ++dc->pen->selections;
    ++dc->brush->selections;
    dc->stock = stockBitmap();
    dc->selected = dc->stock;
    ++dc->stock->selections;
    return dc;
}

BOOL DeleteDC(HDC hdc) {
    if (hdc == nullptr || hdc->screen)
        return FALSE;
    if (hdc->selected != nullptr)
        --hdc->selected->selections;
    --hdc->pen->selections;
    --hdc->brush->selections;
    ReleaseFontSelection(hdc->font);
    if (hdc->stock != nullptr && hdc->stock->selections == 0)
        delete hdc->stock;
    delete hdc;
    return TRUE;
}

// Bitmaps, pens and brushes can be selected here.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    if (auto* pen = dynamic_cast<HPEN>(object))
        return SelectObject(hdc, pen);
    if (auto* brush = dynamic_cast<HBRUSH>(object))
        return SelectObject(hdc, brush);
    if (auto* font = dynamic_cast<HFONT>(object))
        return SelectObject(hdc, font);
    return SelectObject(hdc, dynamic_cast<HBITMAP>(object));
}

HGDIOBJ SelectObject(HDC hdc, HBITMAP bitmap) {
    if (hdc == nullptr || bitmap == nullptr || hdc->screen)
        return nullptr;
    HBITMAP previous = hdc->selected;
    if (previous != nullptr)
        --previous->selections;
    hdc->selected = bitmap;
    ++bitmap->selections;
    return previous;
}

int SetStretchBltMode(HDC hdc, int mode) {
    if (hdc == nullptr || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    const int previous = hdc->stretchMode;
    hdc->stretchMode = mode;
    return previous;
}

int GetStretchBltMode(HDC hdc) {
    return hdc != nullptr ? hdc->stretchMode : 0;
}
