#include "Controls/GMenu.h"

#include <wx/utils.h>

namespace {

// Each item's update handlers asked through the window (the framework's own pass asks the menu alone).
void updateItems(wxMenu& menu, wxWindow& window) {
    for (wxMenuItem* item : menu.GetMenuItems()) {
        if (item->IsSubMenu()) {
            updateItems(*item->GetSubMenu(), window);
            continue;
        }
        if (item->IsSeparator())
            continue;
        wxUpdateUIEvent event(item->GetId());
        event.SetEventObject(&menu);
        if (!window.GetEventHandler()->ProcessEvent(event))
            continue;
        if (event.GetSetEnabled())
            item->Enable(event.GetEnabled());
        if (event.GetSetChecked() && item->IsCheckable())
            item->Check(event.GetChecked());
        if (event.GetSetText())
            item->SetItemLabel(event.GetText());
    }
}

} // namespace

int GMenu::TrackPopupMenu(wxMenu& menu, wxWindow& owner, const wxPoint& at, bool runCommand) {
    wxWindow* target = wxGetTopLevelParent(&owner);
    updateItems(menu, *target);
    const wxPoint where = at == wxDefaultPosition ? owner.ScreenToClient(wxGetMousePosition()) : at;
    const int chosen = owner.GetPopupMenuSelectionFromUser(menu, where);
    if (chosen == wxID_NONE || !runCommand)
        return chosen;
    wxCommandEvent command(wxEVT_MENU, chosen);
    command.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(command);
    return chosen;
}
