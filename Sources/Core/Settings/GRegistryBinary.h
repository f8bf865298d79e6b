#pragma once
// A setting held as a REG_BINARY value of any size.

#include "Settings/GRegistryVariable.h"

class GRegistryBinary : public GRegistryVariable {
public:
    GRegistryBinary(HKEY root, const char* section, const char* valueName);

    void setDefaultValue(const void* data, DWORD size) { setDefault(data, size); }
    using GRegistryVariable::setValue;
    const void* getValue() { return getBuffer(); }
    DWORD getValueSize() { return getBufferSize(); }
};
