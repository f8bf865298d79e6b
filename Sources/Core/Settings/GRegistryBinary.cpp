#include "Settings/GRegistryBinary.h"

GRegistryBinary::GRegistryBinary(HKEY root, const char* section, const char* valueName)
    : GRegistryVariable(root, section, valueName, REG_BINARY) {}
