#include "Text/UIStringTable.h"

#include "Text/GString.h"
#include "win/ModuleStringTable.h"

#include <mutex>

namespace {

constexpr StringResource Strings[] = {
    {IDS_LAYER, "Layer"},
    {IDS_SMALLER_BACKGROUND,
     "You are about to load a background into Korvane that is smaller than the one that you are "
     "currently using.  This could cause some of your objects to disappear."},
    {IDS_PLUGIN_MASKS, "*.korplug"},
    {IDS_COMPANY, "Orvelcraft"},
    {AFX_IDP_INVALID_FILENAME, "Invalid filename."},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
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
