#include "gdi/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

// A font file's face, shared by the fonts made from it; FreeType sizes hang off it.
struct FontFace {
    FT_Face face = nullptr;
    ~FontFace() {
        if (face != nullptr)
            FT_Done_Face(face);
    }
};

namespace {

FT_Library library() {
    static FT_Library instance = [] {
        FT_Library made = nullptr;
        FT_Init_FreeType(&made);
        return made;
    }();
    return instance;
}

// Faces stay open once opened: fonts come and go, files are few.
std::shared_ptr<FontFace> openFace(const std::string& file, int index) {
    static std::map<std::pair<std::string, int>, std::shared_ptr<FontFace>> faces;
    auto& face = faces[{file, index}];
    if (!face) {
        auto opened = std::make_shared<FontFace>();
        if (library() == nullptr || FT_New_Face(library(), file.c_str(), index, &opened->face) != 0)
            return nullptr;
        face = opened;
    }
    return face;
}

// The font file fontconfig finds for a description: its family, weight and slant, or the closest it has.
struct Match {
    std::string file;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

const char* genericFamily(BYTE pitchAndFamily) {
    if ((pitchAndFamily & 0x03) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN)
        return "monospace";
    return (pitchAndFamily & 0xF0) == FF_ROMAN ? "serif" : "sans-serif";
}

bool findFont(const LOGFONTA& description, Match& match) {
    static const bool ready = FcInit() != 0;
    if (!ready)
        return false;
    FcPattern* pattern = FcPatternCreate();
    const std::string face(description.lfFaceName, strnlen(description.lfFaceName, LF_FACESIZE));
    FcPatternAddString(
        pattern, FC_FAMILY,
        reinterpret_cast<const FcChar8*>(face.empty() ? genericFamily(description.lfPitchAndFamily) : face.c_str()));
    const int weight = description.lfWeight > 0 ? std::clamp<int>(description.lfWeight, 1, 1000) : FW_NORMAL;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, description.lfItalic != 0 ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (found == nullptr)
        return false;
    FcChar8* file = nullptr;
    const bool named = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch;
    if (named)
        match.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(found, FC_INDEX, 0, &match.index);
    FcPatternGetInteger(found, FC_WEIGHT, 0, &match.weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &match.slant);
    FcPatternDestroy(found);
    return named;
}

long rounded(double value) {
    return std::lround(value);
}

// Windows' metrics from the font's tables: the cell is the OS/2 table's Windows ascent and descent.
void measure(GdiFont& font, FT_Face face, int ppem) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double scale = static_cast<double>(ppem) / face->units_per_EM;
    const double ascent = os2 != nullptr && os2->usWinAscent != 0 ? os2->usWinAscent : face->ascender;
    const double descent = os2 != nullptr && os2->usWinAscent != 0 ? os2->usWinDescent : -face->descender;
    TEXTMETRICA& tm = font.metrics;
    tm.tmAscent = static_cast<LONG>(rounded(ascent * scale));
    tm.tmDescent = static_cast<LONG>(rounded(descent * scale));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - ppem);
    const double gap = face->height - (face->ascender - face->descender);
    tm.tmExternalLeading = static_cast<LONG>(
        std::max<long>(0, rounded((gap - ((ascent + descent) - (face->ascender - face->descender))) * scale)));
    tm.tmAveCharWidth = static_cast<LONG>(
        rounded((os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : face->max_advance_width / 2) * scale));
    tm.tmMaxCharWidth = static_cast<LONG>(rounded(face->max_advance_width * scale));
    tm.tmWeight = font.description.lfWeight > 0 ? font.description.lfWeight : FW_NORMAL;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = font.description.lfItalic != 0 ? 1 : 0;
    tm.tmUnderlined = font.description.lfUnderline != 0 ? 1 : 0;
    tm.tmStruckOut = font.description.lfStrikeOut != 0 ? 1 : 0;
    // TMPF_FIXED_PITCH (1) is set for fonts that are NOT fixed-pitch; 2 and 4: vector and TrueType.
    const BYTE family =
        (font.description.lfPitchAndFamily & 0xF0) != 0 ? font.description.lfPitchAndFamily & 0xF0 : FF_SWISS;
    tm.tmPitchAndFamily = static_cast<BYTE>((FT_IS_FIXED_WIDTH(face) ? 0 : 1) | 2 | 4 | family);
    tm.tmCharSet = font.description.lfCharSet;
    font.underlineOffset = static_cast<int>(std::max<long>(1, rounded(-face->underline_position * scale)));
    font.underlineThickness = static_cast<int>(std::max<long>(1, rounded(face->underline_thickness * scale)));
    const bool strike = os2 != nullptr && os2->yStrikeoutSize > 0;
    font.strikeOffset = static_cast<int>(strike ? rounded(os2->yStrikeoutPosition * scale) : tm.tmAscent / 3);
    font.strikeThickness =
        static_cast<int>(strike ? std::max<long>(1, rounded(os2->yStrikeoutSize * scale)) : font.underlineThickness);
}

// The em size in pixels: a negative height is the em; a positive one the cell (Windows ascent + descent).
int emPixels(const LOGFONTA& description, FT_Face face) {
    const long height = description.lfHeight != 0 ? description.lfHeight : 16;
    if (height < 0)
        return static_cast<int>(std::min(-height, 4096L));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double cell = os2 != nullptr && os2->usWinAscent != 0 ? os2->usWinAscent + os2->usWinDescent
                                                                : face->ascender - face->descender;
    return static_cast<int>(std::clamp(rounded(height * face->units_per_EM / cell), 1L, 4096L));
}

HFONT makeFont(const LOGFONTA& description) {
    Match match;
    if (!findFont(description, match))
        return nullptr;
    auto font = std::make_unique<GdiFont>();
    font->description = description;
    font->face = openFace(match.file, match.index);
    if (!font->face)
        return nullptr;
    FT_Face face = font->face->face;
    FT_Size size = nullptr;
    if (FT_New_Size(face, &size) != 0)
        return nullptr;
    font->size = size;
    FT_Activate_Size(size);
    const int ppem = emPixels(description, face);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem));
    font->bold = description.lfWeight >= 600 && match.weight < FC_WEIGHT_DEMIBOLD;
    font->italic = description.lfItalic != 0 && match.slant == FC_SLANT_ROMAN;
    font->mono = description.lfQuality == NONANTIALIASED_QUALITY;
    measure(*font, face, ppem);
    return font.release();
}

LOGFONTA stockDescription(int which) {
    LOGFONTA description{};
    description.lfHeight = which == SYSTEM_FONT ? 16 : -11;
    description.lfWeight = FW_NORMAL;
    description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return description;
}

} // namespace

std::mutex& FontLock() {
    static std::mutex lock;
    return lock;
}

GdiFont::~GdiFont() {
    if (size != nullptr) {
        std::lock_guard guard(FontLock());
        FT_Done_Size(static_cast<FT_Size>(size));
    }
}

const Glyph& GdiFont::glyph(char32_t character) {
    const auto known = glyphs.find(character);
    if (known != glyphs.end())
        return known->second;
    Glyph& made = glyphs[character];
    FT_Face ftFace = face->face;
    FT_Activate_Size(static_cast<FT_Size>(size));
    made.index = FT_Get_Char_Index(ftFace, character);
    if (FT_Load_Glyph(ftFace, made.index, mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL) != 0)
        return made;
    FT_GlyphSlot slot = ftFace->glyph;
    if (bold)
        FT_GlyphSlot_Embolden(slot);
    if (italic)
        FT_GlyphSlot_Oblique(slot);
    if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return made;
    const FT_Bitmap& bitmap = slot->bitmap;
    made.left = slot->bitmap_left;
    made.top = slot->bitmap_top;
    made.width = static_cast<int>(bitmap.width);
    made.rows = static_cast<int>(bitmap.rows);
    made.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    made.coverage.resize(static_cast<std::size_t>(made.width) * made.rows);
    for (int y = 0; y < made.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
        for (int x = 0; x < made.width; ++x)
            made.coverage[static_cast<std::size_t>(y) * made.width + x] =
                bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
    }
    return made;
}

int GdiFont::kerning(const Glyph& previous, const Glyph& next) const {
    FT_Face ftFace = face->face;
    if (!FT_HAS_KERNING(ftFace) || previous.index == 0 || next.index == 0)
        return 0;
    FT_Activate_Size(static_cast<FT_Size>(size));
    FT_Vector delta{};
    FT_Get_Kerning(ftFace, previous.index, next.index, FT_KERNING_DEFAULT, &delta);
    return static_cast<int>((delta.x + 32) >> 6);
}

HFONT CreateFontIndirectA(const LOGFONTA* description) {
    if (description == nullptr)
        return nullptr;
    std::lock_guard guard(FontLock());
    return makeFont(*description);
}

HFONT GetStockFont(int which) {
    if (which != SYSTEM_FONT && which != DEFAULT_GUI_FONT && which != ANSI_VAR_FONT)
        return nullptr;
    static auto* fonts = new std::map<int, HFONT>; // for the process: contexts may use them until it ends
    std::lock_guard guard(FontLock());
    HFONT& font = (*fonts)[which == ANSI_VAR_FONT ? DEFAULT_GUI_FONT : which];
    if (font == nullptr) {
        font = makeFont(stockDescription(which));
        if (font != nullptr)
            font->stock = true;
    }
    return font;
}

HFONT FontOf(HDC hdc) {
    return hdc->font != nullptr ? hdc->font : GetStockFont(SYSTEM_FONT);
}

HGDIOBJ SelectObject(HDC hdc, HFONT font) {
    if (hdc == nullptr || font == nullptr)
        return nullptr;
    HFONT previous = FontOf(hdc);
    ReleaseFontSelection(hdc->font);
    hdc->font = font;
    ++font->selections;
    return previous;
}

void ReleaseFontSelection(HFONT font) {
    if (font != nullptr)
        --font->selections;
}

BOOL DeleteObject(HFONT font) {
    return font != nullptr && font->stock ? TRUE : DeleteObject(static_cast<HGDIOBJ>(font));
}

int EnumFontFamiliesExA(HDC, const LOGFONTA*, FONTENUMPROCA proc, LPARAM data, DWORD) {
    if (proc == nullptr || FcInit() == 0)
        return 0;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    std::map<std::string, bool> families; // name, fixed pitch
    for (int i = 0; set != nullptr && i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing);
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            families.emplace(reinterpret_cast<const char*>(family), spacing >= FC_MONO);
    }
    if (set != nullptr)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    int result = 1;
    for (const auto& [name, fixed] : families) {
        LOGFONTA font{};
        std::strncpy(font.lfFaceName, name.c_str(), LF_FACESIZE - 1);
        font.lfPitchAndFamily = fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_DONTCARE;
        TEXTMETRICA metrics{};
        metrics.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : 1) | 2 | 4);
        result = proc(&font, &metrics, TRUETYPE_FONTTYPE, data);
        if (result == 0)
            break;
    }
    return result;
}
