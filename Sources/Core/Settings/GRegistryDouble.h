#pragma once
// A setting held as the eight bytes of a double in a REG_BINARY value.

#include "Settings/GRegistryScalar.h"

class GRegistryDouble : public GRegistryScalar<double, REG_BINARY> {
public:
    using GRegistryScalar::GRegistryScalar;
    using GRegistryScalar::operator=;
};
