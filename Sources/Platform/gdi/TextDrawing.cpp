// Text on bitmaps: lines of UTF-8 laid out with the font's glyphs and kerning, blended in the text colour over
// an opaque or transparent background, with underline and strike-out.

#include "gdi/Fonts.h"
#include "gdi/Painter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The next character of UTF-8 text; a malformed byte stands for itself (as Latin-1) so nothing is lost.
char32_t nextCharacter(const std::string& text, std::size_t& at) {
    const auto byte = static_cast<unsigned char>(text[at++]);
    const int extra = byte >= 0xF0 && byte < 0xF8 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC2 ? 1 : 0;
    if (byte < 0x80 || extra == 0 || at + static_cast<std::size_t>(extra) > text.size())
        return byte;
    char32_t value = byte & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return byte;
        value = value << 6 | (next & 0x3F);
    }
    at += static_cast<std::size_t>(extra);
    return value;
}

struct Placed {
    int x;
    const Glyph* glyph;
    std::size_t byte; // where its character starts in the text
};

// One line's glyphs from pen position 0, and its width.
struct LaidOut {
    std::vector<Placed> glyphs;
    int width = 0;
};

// Lays out one line (call under FontLock()).
LaidOut layout(GdiFont& font, const std::string& text) {
    std::vector<Placed> placed;
    int pen = 0;
    const Glyph* previous = nullptr;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const Glyph& glyph = font.glyph(nextCharacter(text, at));
        if (previous != nullptr)
            pen += font.kerning(*previous, glyph);
        placed.push_back({pen, &glyph, start});
        pen += glyph.advance;
        previous = &glyph;
    }
    return {std::move(placed), pen};
}

// Paints within a clip rectangle on the context's bitmap.
class TextPainter {
public:
    TextPainter(HDC hdc, RECT clip) : m_hdc(hdc), m_bitmap(*hdc->selected), m_clip(clip) {
        m_clip.left = std::max<LONG>(m_clip.left, 0);
        m_clip.top = std::max<LONG>(m_clip.top, 0);
        m_clip.right = std::min<LONG>(m_clip.right, m_bitmap.width);
        m_clip.bottom = std::min<LONG>(m_clip.bottom, m_bitmap.height);
        m_colour = Painter::Rgb(hdc->textColour);
        m_textRaw = Painter::PenValue(*hdc, hdc->textColour);
    }

    void fill(int left, int top, int right, int bottom, COLORREF colour) const {
        const Painter painter(m_bitmap, Painter::PenValue(*m_hdc, colour), R2_COPYPEN);
        for (int y = std::max<int>(top, m_clip.top); y < std::min<int>(bottom, m_clip.bottom); ++y)
            painter.span(y, std::max<int>(left, m_clip.left), std::min<int>(right, m_clip.right));
    }

    // The glyph's coverage blended in the text colour, its origin at (x, baseline).
    void glyph(const Glyph& glyph, int x, int baseline) const {
        const int left = x + glyph.left;
        const int top = baseline - glyph.top;
        for (int row = std::max(0, static_cast<int>(m_clip.top) - top); row < glyph.rows && top + row < m_clip.bottom;
             ++row) {
            const BYTE* coverage = &glyph.coverage[static_cast<std::size_t>(row) * glyph.width];
            for (int column = std::max(0, static_cast<int>(m_clip.left) - left);
                 column < glyph.width && left + column < m_clip.right; ++column)
                if (coverage[column] != 0)
                    blend(left + column, top + row, coverage[column]);
        }
    }

private:
    void blend(int x, int y, int coverage) const {
        if (m_bitmap.bitCount == 1) {
            if (coverage >= 128)
                m_bitmap.setRaw(x, y, m_textRaw);
            return;
        }
        const DWORD old = m_bitmap.bitCount > 8 ? m_bitmap.rawAt(x, y) : m_bitmap.colourAt(x, y);
        DWORD mixed = m_bitmap.bitCount == 32 ? old & 0xFF000000 : 0;
        for (const int shift : {0, 8, 16}) {
            const int from = static_cast<int>((old >> shift) & 0xFF);
            const int to = static_cast<int>((m_colour >> shift) & 0xFF);
            mixed |= static_cast<DWORD>(from + ((to - from) * coverage + (to > from ? 127 : -127)) / 255) << shift;
        }
        m_bitmap.setRaw(x, y, m_bitmap.bitCount > 8 ? mixed : m_bitmap.rawFor(mixed));
    }

    HDC m_hdc;
    GdiBitmap& m_bitmap;
    RECT m_clip;
    DWORD m_colour;
    DWORD m_textRaw;
};

// One line drawn with its top left corner at (x, y): background when opaque, glyphs, then the lines of an
// underlined or struck-out font, and the underline of a prefixed character.
void drawLine(HDC hdc, const GdiFont& font, const TextPainter& painter, int x, int y, const LaidOut& line,
              std::size_t underlinedByte = std::string::npos) {
    const std::vector<Placed>& glyphs = line.glyphs;
    const int width = line.width;
    const TEXTMETRICA& tm = font.metrics;
    if (hdc->bkMode == OPAQUE)
        painter.fill(x, y, x + width, y + tm.tmHeight, hdc->bkColour);
    const int baseline = y + tm.tmAscent;
    for (const Placed& placed : glyphs)
        painter.glyph(*placed.glyph, x + placed.x, baseline);
    const auto rule = [&](int left, int right, int top, int thickness) {
        painter.fill(left, top, right, top + thickness, hdc->textColour);
    };
    if (font.description.lfUnderline != 0)
        rule(x, x + width, baseline + font.underlineOffset, font.underlineThickness);
    if (font.description.lfStrikeOut != 0)
        rule(x, x + width, baseline - font.strikeOffset, font.strikeThickness);
    for (const Placed& placed : glyphs)
        if (placed.byte == underlinedByte)
            rule(x + placed.x, x + placed.x + placed.glyph->advance, baseline + font.underlineOffset,
                 font.underlineThickness);
}

std::string textOf(const char* text, int count) {
    if (text == nullptr)
        return {};
    return count < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(count));
}

bool ready(HDC hdc) {
    return hdc != nullptr && hdc->selected != nullptr && FontOf(hdc) != nullptr;
}

// A line with its '&' prefixes worked out: the text shown and the byte of the character to underline.
struct PrefixedLine {
    std::string text;
    std::size_t underlined = std::string::npos;
};

PrefixedLine withoutPrefixes(const std::string& line, bool prefixes) {
    if (!prefixes)
        return {line};
    PrefixedLine result;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '&' && i + 1 < line.size()) {
            ++i;
            if (line[i] != '&')
                result.underlined = result.text.size();
        } else if (line[i] == '&') {
            continue;
        }
        result.text += line[i];
    }
    return result;
}

std::vector<PrefixedLine> linesOf(const std::string& text, UINT format) {
    const bool prefixes = (format & DT_NOPREFIX) == 0;
    std::vector<PrefixedLine> lines;
    if ((format & DT_SINGLELINE) != 0) {
        std::string single = text;
        std::erase_if(single, [](char c) { return c == '\r' || c == '\n'; });
        lines.push_back(withoutPrefixes(single, prefixes));
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(withoutPrefixes(line, prefixes));
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

} // namespace

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics) {
    if (hdc == nullptr || metrics == nullptr || FontOf(hdc) == nullptr)
        return FALSE;
    *metrics = FontOf(hdc)->metrics;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size) {
    if (hdc == nullptr || size == nullptr || count < 0 || FontOf(hdc) == nullptr)
        return FALSE;
    GdiFont& font = *FontOf(hdc);
    std::lock_guard guard(FontLock());
    *size = {layout(font, textOf(text, count)).width, font.metrics.tmHeight};
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count) {
    if (!ready(hdc) || count < 0)
        return FALSE;
    GdiFont& font = *FontOf(hdc);
    std::lock_guard guard(FontLock());
    drawLine(hdc, font, TextPainter(hdc, {0, 0, hdc->selected->width, hdc->selected->height}), x, y,
             layout(font, textOf(text, count)));
    return TRUE;
}

int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format) {
    if (!ready(hdc) || rect == nullptr || text == nullptr)
        return 0;
    GdiFont& font = *FontOf(hdc);
    std::lock_guard guard(FontLock());
    const std::vector<PrefixedLine> lines = linesOf(textOf(text, count), format);
    const TEXTMETRICA& tm = font.metrics;
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) != 0 ? tm.tmExternalLeading : 0);
    const int height = lineHeight * static_cast<int>(lines.size());
    std::vector<LaidOut> laidOut;
    int widest = 0;
    for (const PrefixedLine& line : lines) {
        laidOut.push_back(layout(font, line.text));
        widest = std::max(widest, laidOut.back().width);
    }
    if ((format & DT_CALCRECT) != 0) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int y = rect->top;
    if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0)
        y = rect->top + (rect->bottom - rect->top) / 2 - lineHeight / 2;
    else if ((format & DT_SINGLELINE) != 0 && (format & DT_BOTTOM) != 0)
        y = rect->bottom - lineHeight;
    const RECT clip = (format & DT_NOCLIP) != 0 ? RECT{0, 0, hdc->selected->width, hdc->selected->height} : *rect;
    const TextPainter painter(hdc, clip);
    for (std::size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
        const int width = laidOut[i].width;
        const int x = (format & DT_CENTER) != 0  ? (rect->left + rect->right - width) / 2
                      : (format & DT_RIGHT) != 0 ? rect->right - width
                                                 : rect->left;
        drawLine(hdc, font, painter, x, y, laidOut[i], lines[i].underlined);
    }
    return height;
}
