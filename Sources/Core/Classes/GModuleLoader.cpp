#include "Classes/GModuleLoader.h"

#include "Classes/GMetaClass.h"
#include "Errors/GLibraryExceptions.h"
#include "IO/GIOException.h"
#include "win/Modules.h"

#include <utility>

namespace {

// The load in progress on this thread, if any; loads may nest when a module loads another while it starts.
struct PendingLoad {
    GString failedClass;
};

thread_local PendingLoad* currentLoad = nullptr;

// Installed as the class registry's handler of taken names: while a load runs on this thread, the first such
// name is kept for Load to report.
bool deferRegistrationFailure(const char* className) {
    if (currentLoad == nullptr)
        return false;
    if (currentLoad->failedClass.isEmpty())
        currentLoad->failedClass = className;
    return true;
}

} // namespace

HMODULE GModuleLoader::Load(const char* path) {
    GMetaClass::SetRegistrationFailureHandler(deferRegistrationFailure);
    PendingLoad load;
    PendingLoad* outer = std::exchange(currentLoad, &load);
    HMODULE module = LoadLibraryA(path);
    currentLoad = outer;
    if (module == nullptr)
        throw new GFileIOException(GString::Format("Cannot load module '%s': %s", path, LastModuleError()));
    if (!load.failedClass.isEmpty()) {
        FreeLibrary(module);
        throw new DuplicatedTypes_Exception(load.failedClass);
    }
    return module;
}

void GModuleLoader::Free(HMODULE module) {
    FreeLibrary(module);
}
