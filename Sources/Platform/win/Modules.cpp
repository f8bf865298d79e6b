#include "Platform/win/Modules.h"

#include <dlfcn.h>

HMODULE ModuleFromAddress(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0)
        return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}
