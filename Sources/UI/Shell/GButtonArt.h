#pragma once
// GButtonArt: the pictures of the form's buttons, drawn by code in the skin's colours: a round plate with a glyph
// for each action (new scene, undo, redo, pan, select the background), in the four states of a button.

#include "Controls/GBitmapButton.h"

class GButtonArt {
public:
    static constexpr int Size = 30;
    // The picture of the named button in the state; wxNullBitmap for a name without art.
    static wxBitmap Button(const wxString& name, GBitmapButton::State state);
};
