#pragma once
// GRegistryVariable: a persistent setting backed by a registry value. It names its key (a root and a section
// below it) and its value, carries a default, reads the registry lazily into a cache on first use and writes
// through on every assignment. A value of another registry type than the variable's, or of a size it cannot hold,
// is ignored (the default stays). With a null root the key lies below the application's registry key; with an empty
// section the section is AppSettingsSection.

#include "Settings/GRegistryCache.h"
#include "Text/GString.h"
#include "win/Registry.h"

class GRegistryVariable {
public:
    GRegistryVariable(HKEY root, const char* section, const char* valueName, DWORD type);
    virtual ~GRegistryVariable() = default;

    // Changing the address invalidates the cache.
    void setHKey(HKEY root);
    void setSection(const char* section);
    void setValueName(const char* valueName);
    void setType(DWORD type);

    // Stores the default in the cache, while the cache does not hold the registry's value.
    void setDefault(const void* data, DWORD size);
    // Reads the registry's value into the cache unless done; whether the cache holds it.
    bool validateCache();
    const void* getBuffer();
    DWORD getBufferSize();
    // False unless `size` is exactly the cached size.
    bool getValue(void* buffer, DWORD size);
    // Caches the data and writes it with the variable's type; false when the write failed (the cache keeps it).
    bool setValue(const void* data, DWORD size);
    // Deletes the value from the registry; the cache stays.
    void removeValue();
    // The key root\section, opened (created when missing) for reading and writing; null when it cannot be had.
    // The caller closes it.
    HKEY getHKey() const;

    // The section of the application's settings, for variables without one of their own.
    static GString AppSettingsSection;
    // The application's registry key, opened (the caller closes it): what the installed provider gives (the
    // application installs one), else HKEY_CURRENT_USER\Software\Orvelcraft\Korvane, so that the key is usable
    // before any application exists.
    using AppKeyProvider = HKEY (*)();
    static void SetAppRegistryKeyProvider(AppKeyProvider provider);
    static HKEY GetAppRegistryKey();

protected:
    // Whether a stored value of `size` bytes is one the variable can hold; any size unless a typed form says.
    virtual bool holdsSize(DWORD) const { return true; }

private:
    HKEY m_root;
    GString m_section;
    GString m_valueName;
    DWORD m_type;
    GRegistryCache m_cache;
    BYTE m_cacheValid = 0;
};
