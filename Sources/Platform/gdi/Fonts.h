#pragma once
// Fonts behind HFONT: a face found through fontconfig, opened with FreeType at the size the description asks
// for, its Windows-style metrics, and the glyphs drawn so far. All FreeType work happens under FontLock().

#include "gdi/GdiObjects.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

struct FontFace;

// One glyph as drawn: its coverage (0 to 255, `width` per row), where it sits from the pen position on the
// baseline, and how far it moves the pen.
struct Glyph {
    unsigned index = 0; // the face's glyph index, for kerning
    int left = 0;
    int top = 0; // rows above the baseline
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<BYTE> coverage;
};

struct GdiFont final : GdiObject {
    LOGFONTA description{};
    std::shared_ptr<FontFace> face;
    void* size = nullptr; // the face's FT_Size for this font
    TEXTMETRICA metrics{};
    int underlineOffset = 0; // rows below the baseline
    int underlineThickness = 1;
    int strikeOffset = 0; // rows above the baseline
    int strikeThickness = 1;
    bool bold = false;   // made bold by FreeType (the face is not)
    bool italic = false; // slanted by FreeType
    bool mono = false;
    bool stock = false;
    int selections = 0;
    std::unordered_map<char32_t, Glyph> glyphs;

    ~GdiFont() override;
    bool deletable() const override { return !stock && selections == 0; }
    // The glyph of a character, drawn once and kept (call under FontLock()).
    const Glyph& glyph(char32_t character);
    // The pen's move between two glyphs besides their advances (call under FontLock()).
    int kerning(const Glyph& previous, const Glyph& next) const;
};

std::mutex& FontLock();
// A stock font (SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT), made when first asked for; null for other numbers.
HFONT GetStockFont(int which);
// The font a context draws with: its own, or the system font.
HFONT FontOf(HDC hdc);
// A context lets go of its font when it is deleted.
void ReleaseFontSelection(HFONT font);
