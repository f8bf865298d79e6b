#include "Preferences/GlobalColor.h"

GlobalColor::GlobalColor(const char* valueName, COLORREF defaultColor)
    : GRegistryDWord(nullptr, "", valueName, defaultColor) {}

COLORREF GlobalColor::getColor() {
    return static_cast<DWORD>(*this) & 0xFFFFFF;
}

void GlobalColor::setColor(COLORREF color) {
    GRegistryDWord::operator=(color & 0xFFFFFF);
}

DWORD GlobalColor::getPixel() {
    const COLORREF color = getColor();
    return 0xFF000000 | (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}
