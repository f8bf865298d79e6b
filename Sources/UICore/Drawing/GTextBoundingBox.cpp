#include "Drawing/GTextBoundingBox.h"

SIZE GTextBoundingBox(HDC hdc, HFONT font, const char* text, UINT flags) {
    HGDIOBJ previous = font != nullptr ? SelectObject(hdc, font) : nullptr;
    RECT box{0, 0, 0, 0};
    DrawTextA(hdc, text, -1, &box, flags | DT_CALCRECT);
    if (previous != nullptr)
        SelectObject(hdc, previous);
    return {box.right - box.left, box.bottom - box.top};
}
