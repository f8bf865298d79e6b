#pragma once
// GTextBoundingBox: the size text takes in a font, measured by DrawTextA with DT_CALCRECT and the given flags.

#include "gdi/WinGdi.h"

// `hdc` may be any context (its selected font is restored); with a null font the context's own is measured.
SIZE GTextBoundingBox(HDC hdc, HFONT font, const char* text, UINT flags);
