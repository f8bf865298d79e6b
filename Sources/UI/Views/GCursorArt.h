#pragma once
// GCursorArt: the application's own cursors, drawn by code: white shapes with a dark rim, readable on any scene.

#include "gdi/ModuleBitmaps.h"

class GCursorArt {
public:
    static constexpr int Size = 24;
    // Four arrows out of the middle (the hot spot): the scene moves any way. The caller destroys it
    // (DestroyCursor).
    static HCURSOR Pan();
};
