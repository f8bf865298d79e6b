#pragma once
// GEventCmdUI: a CCmdUI that carries the answers of the program's update handlers to the framework's update event
// of a menu item or button.

#include "Framework/CCmdUI.h"

#include <wx/event.h>

class GEventCmdUI : public CCmdUI {
public:
    // `id` is the program's command id, which may differ from the framework's id of the event; only a checkable
    // item takes a mark.
    GEventCmdUI(wxUpdateUIEvent& event, UINT id, bool menuItem, bool checkable);

    void Enable(bool on = true) override;
    void SetCheck(int check = 1) override;
    void SetRadio(bool on = true) override;
    void SetText(const char* text) override;

private:
    wxUpdateUIEvent& m_event;
    bool m_checkable;
};

// Whether the update handlers of the window (and the handlers it passes the event on to) enable the command.
bool GCommandEnabled(wxEvtHandler& target, int id);
