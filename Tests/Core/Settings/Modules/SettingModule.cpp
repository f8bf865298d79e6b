// A module with a static setting, made while the module loads: its default must be there before any store is.

#include "Settings/GRegistryDWord.h"

namespace {

GRegistryDWord moduleSetting(HKEY_CURRENT_USER, "Software\\Orvelcraft\\Korvane\\Module", "Answer", 42);

} // namespace

extern "C" DWORD ModuleSettingValue() {
    return moduleSetting;
}
