#include "gdi/Painter.h"

#include "gdi/LineRaster.h"

#include <algorithm>
#include <cstring>

namespace {

// The sixteen binary raster operations of pen P and destination D.
DWORD mix(int rop2, DWORD p, DWORD d) {
    switch (rop2) {
    case R2_BLACK:
        return 0;
    case R2_NOTMERGEPEN:
        return ~(d | p);
    case R2_MASKNOTPEN:
        return d & ~p;
    case R2_NOTCOPYPEN:
        return ~p;
    case R2_MASKPENNOT:
        return p & ~d;
    case R2_NOT:
        return ~d;
    case R2_XORPEN:
        return d ^ p;
    case R2_NOTMASKPEN:
        return ~(d & p);
    case R2_MASKPEN:
        return d & p;
    case R2_NOTXORPEN:
        return ~(d ^ p);
    case R2_NOP:
        return d;
    case R2_MERGENOTPEN:
        return d | ~p;
    case R2_MERGEPEN:
        return d | p;
    case R2_WHITE:
        return ~DWORD{0};
    default: // R2_COPYPEN
        return p;
    }
}

DWORD valueMask(int bitCount) {
    return bitCount >= 32 ? ~DWORD{0} : (DWORD{1} << bitCount) - 1;
}

} // namespace

Painter::Painter(GdiBitmap& target, DWORD raw, int rop2) : m_target(target) {
    const DWORD mask = valueMask(target.bitCount);
    m_xor = mix(rop2, raw, 0) & mask;
    m_and = (mix(rop2, raw, mask) ^ m_xor) & mask;
}

DWORD Painter::Rgb(COLORREF colour) {
    return DWORD{GetRValue(colour)} << 16 | DWORD{GetGValue(colour)} << 8 | GetBValue(colour);
}

DWORD Painter::PenValue(const GdiDC& hdc, COLORREF colour) {
    const GdiBitmap& bitmap = *hdc.selected;
    const DWORD rgb = Rgb(colour);
    if (bitmap.bitCount != 1)
        return bitmap.rawFor(rgb);
    for (DWORD i = 0; i < bitmap.palette.size(); ++i) {
        const RGBQUAD& q = bitmap.palette[i];
        if ((DWORD{q.rgbRed} << 16 | DWORD{q.rgbGreen} << 8 | q.rgbBlue) == rgb)
            return i;
    }
    const DWORD background = bitmap.rawFor(Rgb(hdc.bkColour));
    return (colour & 0xFFFFFF) == (hdc.bkColour & 0xFFFFFF) ? background : 1 - background;
}

void Painter::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_target.width || y >= m_target.height)
        return;
    BYTE* row = m_target.row(y);
    switch (m_target.bitCount) {
    case 1: {
        const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
        BYTE& byte = row[x >> 3];
        byte = static_cast<BYTE>((byte & ((m_and != 0 ? bit : 0) | ~bit)) ^ (m_xor != 0 ? bit : 0));
        break;
    }
    case 8:
        row[x] = static_cast<BYTE>((row[x] & m_and) ^ m_xor);
        break;
    default:
        m_target.setRaw(x, y, (m_target.rawAt(x, y) & m_and) ^ m_xor);
        break;
    }
}

void Painter::line(int x0, int y0, int x1, int y1, int bias) const {
    const int width = m_target.width;
    const int height = m_target.height;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height;
    };
    switch (m_target.bitCount) {
    case 1: {
        const BYTE setBits = m_xor != 0 ? 0xFF : 0x00;
        const BYTE keepBits = m_and != 0 ? 0xFF : 0x00;
        RasterLine(x0, y0, x1, y1, bias, [&](int x, int y) {
            if (!inside(x, y))
                return;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
            BYTE& byte = m_target.row(y)[x >> 3];
            byte = static_cast<BYTE>((byte & ((keepBits & bit) | ~bit)) ^ (setBits & bit));
        });
        break;
    }
    case 8:
        RasterLine(x0, y0, x1, y1, bias, [&](int x, int y) {
            if (inside(x, y)) {
                BYTE& value = m_target.row(y)[x];
                value = static_cast<BYTE>((value & m_and) ^ m_xor);
            }
        });
        break;
    default:
        RasterLine(x0, y0, x1, y1, bias, [&](int x, int y) { pixel(x, y); });
        break;
    }
}

void Painter::span1(BYTE* row, int x0, int x1) const {
    const BYTE a = m_and != 0 ? 0xFF : 0x00;
    const BYTE x = m_xor != 0 ? 0xFF : 0x00;
    const int first = x0 >> 3;
    const int last = (x1 - 1) >> 3;
    const auto apply = [&](BYTE& byte, BYTE mask) {
        byte = static_cast<BYTE>((byte & (a | ~mask)) ^ (x & mask));
    };
    const BYTE head = static_cast<BYTE>(0xFF >> (x0 & 7));
    const BYTE tail = static_cast<BYTE>(0xFF << (7 - ((x1 - 1) & 7)));
    if (first == last) {
        apply(row[first], head & tail);
        return;
    }
    apply(row[first], head);
    if (a == 0)
        std::memset(row + first + 1, x, static_cast<std::size_t>(last - first - 1));
    else if (x != 0)
        for (int i = first + 1; i < last; ++i)
            row[i] = static_cast<BYTE>(~row[i]);
    apply(row[last], tail);
}

void Painter::span(int y, int x0, int x1) const {
    if (y < 0 || y >= m_target.height)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_target.width);
    if (x0 >= x1)
        return;
    BYTE* row = m_target.row(y);
    switch (m_target.bitCount) {
    case 1:
        span1(row, x0, x1);
        break;
    case 8:
        if (m_and == 0)
            std::memset(row + x0, static_cast<int>(m_xor), static_cast<std::size_t>(x1 - x0));
        else
            for (int i = x0; i < x1; ++i)
                row[i] = static_cast<BYTE>((row[i] & m_and) ^ m_xor);
        break;
    case 32: {
        for (int i = x0; i < x1; ++i) {
            DWORD value;
            std::memcpy(&value, row + 4 * i, 4);
            value = (value & m_and) ^ m_xor;
            std::memcpy(row + 4 * i, &value, 4);
        }
        break;
    }
    default:
        for (int i = x0; i < x1; ++i)
            m_target.setRaw(i, y, (m_target.rawAt(i, y) & m_and) ^ m_xor);
        break;
    }
}

std::optional<Painter> PenPainter(HDC hdc) {
    if (hdc == nullptr || hdc->selected == nullptr || hdc->pen->style == PS_NULL)
        return std::nullopt;
    return Painter(*hdc->selected, Painter::PenValue(*hdc, hdc->pen->colour), hdc->rop2);
}

std::optional<Painter> BrushPainter(HDC hdc, HBRUSH brush) {
    if (hdc == nullptr || hdc->selected == nullptr || brush == nullptr || brush->hollow)
        return std::nullopt;
    return Painter(*hdc->selected, Painter::PenValue(*hdc, brush->colour), hdc->rop2);
}
