#pragma once
// Per-module dialog templates: each library and plug-in compiles its templates (XRC: one <object> element per
// template, a panel with its controls) into itself and registers them, keyed by its module handle, so that the
// same template number in two modules names two different dialogs, as on Windows. Each module's templates live in
// a resource set of their own.

#include "win/Win32Types.h"

#include <memory>
#include <span>

class wxPanel;
class wxWindow;
class wxXmlResource;

struct DialogResource {
    UINT id;
    const char* xrc; // one <object class="wxPanel"> element, its name not needed
};

// Registers the templates of the module that holds this object. A module defines one static instance; the array
// must outlive it (a static array in the same module does).
class ModuleDialogs {
public:
    explicit ModuleDialogs(std::span<const DialogResource> dialogs);
    ~ModuleDialogs();
    ModuleDialogs(const ModuleDialogs&) = delete;
    ModuleDialogs& operator=(const ModuleDialogs&) = delete;

    HMODULE module() const { return m_module; }
    // Creates `panel` (not yet created) as a child of `parent` from template `id` of the module; false when the
    // module has no such template or it does not load.
    static bool LoadDialog(HMODULE module, UINT id, wxPanel& panel, wxWindow* parent);

private:
    bool load(UINT id, wxPanel& panel, wxWindow* parent) const;

    std::span<const DialogResource> m_dialogs;
    HMODULE m_module;
    mutable std::unique_ptr<wxXmlResource> m_resources; // made on the first use, when the framework runs
};
