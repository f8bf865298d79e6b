#include "Framework/GEventCmdUI.h"

GEventCmdUI::GEventCmdUI(wxUpdateUIEvent& event, UINT id, bool menuItem, bool checkable)
    : CCmdUI(id), m_event(event), m_checkable(checkable) {
    m_menuItem = menuItem;
}

void GEventCmdUI::Enable(bool on) {
    CCmdUI::Enable(on);
    m_event.Enable(on);
}

void GEventCmdUI::SetCheck(int check) {
    CCmdUI::SetCheck(check);
    if (m_checkable)
        m_event.Check(check != 0);
}

void GEventCmdUI::SetRadio(bool on) {
    CCmdUI::SetRadio(on);
    if (m_checkable)
        m_event.Check(on);
}

void GEventCmdUI::SetText(const char* text) {
    CCmdUI::SetText(text);
    m_event.SetText(wxString::FromUTF8(text != nullptr ? text : ""));
}

bool GCommandEnabled(wxEvtHandler& target, int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(&target);
    if (!target.ProcessEvent(event) || !event.GetSetEnabled())
        return true;
    return event.GetEnabled();
}
