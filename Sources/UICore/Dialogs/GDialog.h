#pragma once
// GDialog: a dialog of a module's template, made as a window inside another (an option page in an area of the main
// window). It exchanges values between its controls and its members, and closes as a dialog does.

#include "win/Win32Types.h"

#include <wx/panel.h>

class GDialog : public wxPanel {
public:
    // Not yet made: Create makes the window from the template `id` of the module that setModule names (the
    // template numbers of different modules are unrelated).
    GDialog(UINT id, wxWindow* parent);

    void setModule(HMODULE module) { m_module = module; }
    HMODULE getModule() const { return m_module; }
    UINT getTemplateId() const { return m_templateId; }
    // False when no module is set or it has no such template.
    virtual bool Create();

    // Values between the controls and the members: `save` true takes them from the controls.
    bool UpdateData(bool save = true);
    virtual void DoDataExchange(bool save);

    virtual void OnOK();
    virtual void OnCancel();
    // Closing destroys the window; the dialog goes with it.
    virtual void OnClose();

protected:
    // The window the dialog is made in.
    wxWindow* dialogParent() const { return m_parent; }
    // Called once the window exists, before it is shown.
    virtual void OnInitDialog();

private:
    UINT m_templateId;
    wxWindow* m_parent;
    HMODULE m_module = nullptr;
};
