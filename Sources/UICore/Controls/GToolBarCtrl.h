#pragma once
// GToolBarCtrl: a row of picture buttons inside a dialog (the browser's back, forward, stop and home). A click
// reaches the parent as the framework's tool event (wxEVT_TOOL, the button's command id); a drop-down button
// sends wxEVT_TOOL_DROPDOWN from its arrow. Buttons follow their commands' update handlers in idle time.

#include <wx/toolbar.h>

class GToolBarCtrl : public wxToolBar {
public:
    GToolBarCtrl(wxWindow* parent, int id, const wxPoint& position = wxDefaultPosition);

    // Adds a button; the last added shows once the row is laid out (Realize).
    void addButton(int command, const wxBitmap& picture, const wxString& tip, bool dropDown = false);
    void addSeparator() { AddSeparator(); }
    void enableButton(int command, bool enable) { EnableTool(command, enable); }
    bool isButtonEnabled(int command) const { return GetToolEnabled(command); }
    int getButtonCount() const { return static_cast<int>(GetToolsCount()); }
};
