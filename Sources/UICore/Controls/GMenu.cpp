#include "Controls/GMenu.h"

#include <wx/utils.h>

int GMenu::TrackPopupMenu(wxMenu& menu, wxWindow& owner, const wxPoint& at, bool runCommand) {
    const wxPoint where = at == wxDefaultPosition ? owner.ScreenToClient(wxGetMousePosition()) : at;
    const int chosen = owner.GetPopupMenuSelectionFromUser(menu, where);
    if (chosen == wxID_NONE || !runCommand)
        return chosen;
    wxWindow* target = wxGetTopLevelParent(&owner);
    wxCommandEvent command(wxEVT_MENU, chosen);
    command.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(command);
    return chosen;
}
