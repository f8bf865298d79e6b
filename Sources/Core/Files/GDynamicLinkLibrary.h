#pragma once
// GDynamicLinkLibrary: owns one loaded module (a shared object), loaded through the module loader so that its
// classes register, and unloaded when the object goes.

#include "Files/GFile.h"

class GDynamicLinkLibrary {
public:
    GDynamicLinkLibrary() = default;
    explicit GDynamicLinkLibrary(const char* name, DWORD flags = 0);
    ~GDynamicLinkLibrary();
    GDynamicLinkLibrary(const GDynamicLinkLibrary&) = delete;
    GDynamicLinkLibrary& operator=(const GDynamicLinkLibrary&) = delete;

    // Unloads the module held, then loads `name`; false for a null name or when it cannot be loaded (a module
    // whose classes take registered names cannot). The flags of the other platform have no meaning here.
    bool load(const char* name, DWORD flags = 0);
    void unload();
    bool loaded() const { return m_module != nullptr; }
    HMODULE handle() const { return m_module; }
    // The module's file; empty when none is loaded.
    GFile get_name() const;

private:
    HMODULE m_module = nullptr;
};
