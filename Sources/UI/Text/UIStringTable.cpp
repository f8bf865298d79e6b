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
    // The application's own actions and tools, made into contexts before those of the plug-ins.
    {IDS_PLUGIN_CONTEXTS, "{NewImageCommand=&New|Start a new scene}"
                          "{UndoImageCommand=&Undo|Undo the last change}"
                          "{RedoImageCommand=&Redo|Redo the last change undone}"
                          "{CutImageCommand=Cu&t|Move the selected object to the clipboard}"
                          "{CopyImageCommand=&Copy|Copy the selected object to the clipboard}"
                          "{PasteImageCommand=&Paste|Insert what the clipboard holds}"
                          "{DeleteImageCommand=&Delete|Delete the selected object}"
                          "{PanImageContext=&Pan|Drag the scene within the view}"},
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
