#pragma once
// GBitmapButton: a push button drawn from pictures, one per state (normal, pressed, under the pointer, disabled),
// without the toolkit's frame, so that it sits on a skin. The pictures come from a provider by the button's name
// (the name is the class of the editor context the button selects).

#include <wx/bmpbuttn.h>

#include <functional>

class GBitmapButton : public wxBitmapButton {
public:
    enum State { Normal, Pressed, Current, Disabled };
    using ImageProvider = std::function<wxBitmap(const wxString& name, State state)>;

    GBitmapButton(wxWindow* parent, int id, const wxPoint& position);
    // Takes the pictures the provider has for the name; false (and nothing changed) when it has none.
    bool LoadButton(const wxString& name, const ImageProvider& provider);
};
