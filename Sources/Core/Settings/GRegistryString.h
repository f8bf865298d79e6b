#pragma once
// A setting held as a REG_SZ value: the text with its terminating zero.

#include "Settings/GRegistryVariable.h"

class GRegistryString : public GRegistryVariable {
public:
    // A null default counts as "".
    GRegistryString(HKEY root, const char* section, const char* valueName, const char* defaultValue);

    // A null text stores "".
    GRegistryString& operator=(const char* text);
    // The cached text ("" when the cached bytes hold no terminated text).
    operator const char*();
    void setDefaultValue(const char* text);
};
