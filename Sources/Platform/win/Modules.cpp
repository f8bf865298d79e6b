#include "win/Modules.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>

namespace {

struct LoadedModule {
    void* handle;
    int loads;
};

struct LoadedModules {
    std::mutex lock;
    std::map<HMODULE, LoadedModule> byHandle;
};

// Never destroyed: modules may be freed during process exit.
LoadedModules& loadedModules() {
    static LoadedModules* instance = new LoadedModules;
    return *instance;
}

thread_local std::string lastError;

HMODULE baseAddress(void* handle) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr)
        return nullptr;
    return reinterpret_cast<HMODULE>(map->l_addr);
}

} // namespace

HMODULE ModuleFromAddress(const void* address) {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0)
        return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

std::string GetModuleFileNameA(HMODULE module) {
    Dl_info info{};
    if (module == nullptr || dladdr(module, &info) == 0)
        return {};
    if (info.dli_fname != nullptr && *info.dli_fname != '\0')
        return info.dli_fname;
    // The program itself may stand in the link map without a name.
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

HMODULE LoadLibraryA(const char* path) {
    if (path == nullptr || *path == '\0') {
        lastError = "no module name";
        return nullptr;
    }
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        lastError = reason != nullptr ? reason : "cannot load the module";
        return nullptr;
    }
    HMODULE module = baseAddress(handle);
    LoadedModules& modules = loadedModules();
    std::lock_guard guard(modules.lock);
    auto [entry, inserted] = modules.byHandle.try_emplace(module, LoadedModule{handle, 0});
    ++entry->second.loads;
    if (!inserted)
        dlclose(handle); // dlopen counted this load too; one handle per module is kept
    return module;
}

BOOL FreeLibrary(HMODULE module) {
    void* handle = nullptr;
    {
        LoadedModules& modules = loadedModules();
        std::lock_guard guard(modules.lock);
        auto entry = modules.byHandle.find(module);
        if (entry == modules.byHandle.end())
            return FALSE;
        if (--entry->second.loads > 0)
            return TRUE;
        handle = entry->second.handle;
        modules.byHandle.erase(entry);
    }
    // Outside the lock: the module's static destructors may free other modules.
    return dlclose(handle) == 0 ? TRUE : FALSE;
}

void* GetProcAddress(HMODULE module, const char* name) {
    LoadedModules& modules = loadedModules();
    std::lock_guard guard(modules.lock);
    auto entry = modules.byHandle.find(module);
    return entry == modules.byHandle.end() ? nullptr : dlsym(entry->second.handle, name);
}

const char* LastModuleError() {
    return lastError.c_str();
}
