#pragma once
// GMenu: a popup menu shown at the pointer (or a point of the owner window) until the person chooses or leaves it;
// the chosen entry runs as any menu command of the owner. Before it shows, the owner's window decides each item's
// text, state and check mark as for its menu bar.

#include <wx/menu.h>
#include <wx/window.h>

class GMenu {
public:
    // The id chosen, or wxID_NONE; with `runCommand` the choice is sent to the owner as its menu command.
    static int TrackPopupMenu(wxMenu& menu, wxWindow& owner, const wxPoint& at = wxDefaultPosition,
                              bool runCommand = true);
};
