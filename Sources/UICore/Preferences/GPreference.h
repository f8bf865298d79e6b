#pragma once
// GPreference: one page of the preferences dialog and the settings behind it. Each kind is a registered class
// derived from this one; the preferences list makes one of each. A preference reads its values from the
// registry and writes them back; its page (made by the application shell) shows and edits them.
//
// The values live in the application's registry key: under `section`, or in the application's settings section
// when `section` is null.

#include "Classes/GObject.h"
#include "Text/GString.h"
#include "win/Win32Types.h"

#include <vector>

class GPreference : public GObject {
    G_CLASS(GPreference)

    // Reads the values from the registry into the application.
    virtual void readValues() {}
    // Writes the application's values to the registry.
    virtual void writeValues() {}

    static DWORD ReadPrefInt(const char* section, const char* key, DWORD defaultValue);
    static void WritePrefInt(const char* section, const char* key, DWORD value);
    static GString ReadPrefString(const char* section, const char* key, const char* defaultValue);
    static void WritePrefString(const char* section, const char* key, const char* value);
    // False (and `value` emptied) when the value is absent.
    static bool ReadPrefBinary(const char* section, const char* key, std::vector<BYTE>& value);
    static void WritePrefBinary(const char* section, const char* key, const void* data, DWORD size);
};
