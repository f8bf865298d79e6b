// GKorvaneApp: menus from the settings. A menu key's subkeys ("0000", "0001" ...) are its entries in order: a
// separator, a context's item ("Class"), a standard command of the framework ("Command", titled like a popup), or
// a popup titled in the user's language whose entries are the subkey's own or those of another key ("Section").

#include "Application/GKorvaneApp.h"

#include "Contexts/GOneTimeEditorContext.h"
#include "Settings/GRegistryVariable.h"
#include "win/Registry.h"

#include <wx/defs.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Two letters of a language and its Windows language id.
struct Language {
    const char* code;
    unsigned id;
};
constexpr Language Languages[] = {{"en", 0x0409}, {"de", 0x0407}, {"fr", 0x040C}, {"es", 0x0C0A},
                                  {"it", 0x0410}, {"nl", 0x0413}, {"pt", 0x0416}, {"sv", 0x041D},
                                  {"ja", 0x0411}, {"zh", 0x0804}, {"ru", 0x0419}, {"pl", 0x0415}};

// The user's language as a Windows language id in four lower-case hex digits, from the locale's settings.
std::string languageValueName() {
    const char* locale = std::getenv("LC_ALL");
    if (locale == nullptr || *locale == '\0')
        locale = std::getenv("LC_MESSAGES");
    if (locale == nullptr || *locale == '\0')
        locale = std::getenv("LANG");
    unsigned id = 0x0409;
    for (const Language& language : Languages)
        if (locale != nullptr && std::strncmp(locale, language.code, 2) == 0)
            id = language.id;
    char name[8];
    std::snprintf(name, sizeof name, "%04x", id);
    return name;
}

// A string value of the key; empty when absent or of another type.
std::string stringValue(HKEY key, const char* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ || size == 0)
        return {};
    std::string text(size, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        return {};
    text.resize(std::strlen(text.c_str()));
    return text;
}

// The key below the application's key; null when absent. The caller closes it.
HKEY openMenuKey(const char* path) {
    HKEY application = GRegistryVariable::GetAppRegistryKey();
    if (application == nullptr)
        return nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExA(application, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        key = nullptr;
    RegCloseKey(application);
    return key;
}

// The standard commands a menu may name, and the framework's ids for them.
struct StandardCommand {
    const char* name;
    int id;
};
constexpr StandardCommand StandardCommands[] = {
    {"FileOpen", wxID_OPEN},
    {"FileSave", wxID_SAVE},
    {"FileSaveAs", wxID_SAVEAS},
    {"FileClose", wxID_CLOSE},
    {"FilePrint", wxID_PRINT},
    {"FilePrintSetup", wxID_PRINT_SETUP},
    {"FileSendMail", GKorvaneApp::ID_FILE_SEND_MAIL},
    {"AppExit", wxID_EXIT},
    {"ZoomIn", wxID_ZOOM_IN},
    {"ZoomOut", wxID_ZOOM_OUT},
    {"ZoomActual", wxID_ZOOM_100},
    {"ZoomFit", wxID_ZOOM_FIT},
    {"FullScreen", GKorvaneApp::ID_VIEW_FULLSCREEN},
    {"About", wxID_ABOUT},
};

int standardCommandId(const std::string& name) {
    for (const StandardCommand& command : StandardCommands)
        if (name == command.name)
            return command.id;
    return 0;
}

// The title of an entry in the user's language, else the neutral one.
std::string titleOf(HKEY entry) {
    std::string title = stringValue(entry, languageValueName().c_str());
    return title.empty() ? stringValue(entry, "0000") : title;
}

} // namespace

void GKorvaneApp::fillMenuFromRegistry(std::vector<GMenuEntry>& menu, const char* keyPath, int depth) const {
    constexpr int DeepestMenu = 16; // a "Section" naming its own key ends here instead of looping
    HKEY key = depth < DeepestMenu ? openMenuKey(keyPath) : nullptr;
    if (key == nullptr)
        return;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string path = std::string(keyPath) + "\\" + name;
        HKEY entry = openMenuKey(path.c_str());
        if (entry == nullptr)
            continue;
        if (!stringValue(entry, "Separator").empty()) {
            menu.push_back({GMenuEntry::Separator, GString(), 0, {}});
        } else if (const std::string cls = stringValue(entry, "Class"); !cls.empty()) {
            if (const GEditorContext* context = findContextByName(cls.c_str()))
                menu.push_back({GMenuEntry::Item,
                                context->getContextString(GEditorContext::MenuText),
                                context->getCommandID(),
                                {},
                                context->getMetaClass().isKindOf(&GOneTimeEditorContext::metaclass_) == nullptr});
        } else if (const std::string command = stringValue(entry, "Command"); !command.empty()) {
            if (const int id = standardCommandId(command))
                menu.push_back({GMenuEntry::Command, titleOf(entry).c_str(), static_cast<UINT>(id), {}});
        } else {
            const std::string section = stringValue(entry, "Section");
            GMenuEntry popup{GMenuEntry::Popup, titleOf(entry).c_str(), 0, {}};
            fillMenuFromRegistry(popup.children, section.empty() ? path.c_str() : section.c_str(), depth + 1);
            menu.push_back(std::move(popup));
        }
        RegCloseKey(entry);
    }
    RegCloseKey(key);
}
