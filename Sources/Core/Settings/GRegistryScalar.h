#pragma once
// A setting held as the bytes of one number of type T in a registry value of type Type (the typed variables
// GRegistryDWord and GRegistryDouble). A stored value of another size than T's is ignored: the default stays.

#include "Settings/GRegistryVariable.h"

template <class T, DWORD Type>
class GRegistryScalar : public GRegistryVariable {
public:
    GRegistryScalar(HKEY root, const char* section, const char* valueName, T defaultValue)
        : GRegistryVariable(root, section, valueName, Type) {
        setDefault(&defaultValue, sizeof defaultValue);
    }

    GRegistryScalar& operator=(T value) {
        setValue(&value, sizeof value);
        return *this;
    }
    operator T() {
        T value{};
        getValue(&value, sizeof value);
        return value;
    }

protected:
    bool holdsSize(DWORD size) const override { return size == sizeof(T); }
};
