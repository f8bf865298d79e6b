#pragma once
// GGetButtonFrameSize: the width and height of a button's frame, between its outer edge and what it shows (none
// for the skin's frameless picture buttons), so that marks drawn on a button stay inside its frame.

#include <wx/window.h>

wxSize GGetButtonFrameSize(const wxWindow& button);
