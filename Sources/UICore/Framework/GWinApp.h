#pragma once
// GWinApp: the base of the application object, on the framework's application class. It loads the external
// modules (plug-ins) of a list of directories; what a module brings is up to the application's
// load_external_module.

#include "Text/GString.h"
#include "win/Win32Types.h"

#include <wx/app.h>

#include <vector>

class GWinApp : public wxApp {
public:
    ~GWinApp() override;

    // Every file of each directory (in order) whose name matches one of the masks, loaded through
    // load_external_module; directories and masks keep their order, files within a directory go by name.
    void load_external_modules(const std::vector<GString>& directories, const std::vector<GString>& masks);
    // Loads one module and returns its handle; null when it cannot be loaded (the reason goes to standard error).
    virtual HMODULE load_external_module(const char* path);

    // Message boxes shown as the framework's dialogs, unless a handler (a test's) is installed already.
    static void InstallMessageBoxes();
    // The dialog of a message box; the id of the button chosen.
    static int DoMessageBox(const char* text, const char* caption, UINT type);

private:
    std::vector<HMODULE> m_modules; // unloaded, newest first, when the application goes
};
