#pragma once
// A setting held as a REG_DWORD value.

#include "Settings/GRegistryScalar.h"

class GRegistryDWord : public GRegistryScalar<DWORD, REG_DWORD> {
public:
    using GRegistryScalar::GRegistryScalar;
    using GRegistryScalar::operator=;
};
