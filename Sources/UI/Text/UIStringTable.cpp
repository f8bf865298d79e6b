#include "Text/UIStringTable.h"

#include "Text/GString.h"
#include "win/ModuleStringTable.h"

#include <mutex>

namespace {

constexpr StringResource Strings[] = {
    {IDS_LAYER, "Layer"},
};

const ModuleStringTable UIStrings(Strings);

} // namespace

HMODULE GetUIModule() {
    return UIStrings.module();
}

void AddUIStringLoader() {
    static std::once_flag added;
    std::call_once(added, [] { GString::AddLoadStringFunc(LoadModuleString, GetUIModule()); });
}
