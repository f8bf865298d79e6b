// GKorvaneApp: files replaced at the next start, and DDE commands.

#include "Application/GKorvaneApp.h"

#include "Files/FileSystem.h"
#include "Settings/GRegistryDWord.h"
#include "Settings/GRegistryString.h"
#include "Threads/GCallbackSender.h"
#include "win/Files.h"

#include <wx/docview.h>

#include <cstring>

namespace {

constexpr const char* MovesKey = "FilesToMove";

GRegistryDWord moveCount() {
    return GRegistryDWord(nullptr, MovesKey, "Count", 0);
}

GRegistryString moveEnd(const char* end, DWORD i) {
    return GRegistryString(nullptr, MovesKey, GString::Format("%s%u", end, i), "");
}

} // namespace

void GKorvaneApp::moveFileNextStart(const char* from, const char* to) {
    GRegistryDWord count = moveCount();
    const DWORD n = count;
    moveEnd("From", n) = from;
    moveEnd("To", n) = to;
    count = n + 1;
}

void GKorvaneApp::move_files() {
    GRegistryDWord count = moveCount();
    const DWORD n = count;
    for (DWORD i = 0; i < n; ++i) {
        GRegistryString from = moveEnd("From", i);
        GRegistryString to = moveEnd("To", i);
        if (GFile(from).exists()) {
            DeleteFileA(to);
            MoveFileA(from, to);
        }
    }
    count = 0;
}

bool GKorvaneApp::SplitDDECommand(const char* command, const char* dde, GString& argument) {
    if (command == nullptr || dde == nullptr)
        return false;
    const std::string prefix = std::string("[") + command + "(\"";
    if (std::strncmp(dde, prefix.c_str(), prefix.size()) != 0)
        return false;
    const char* start = dde + prefix.size();
    const char* end = std::strchr(start, '"');
    const std::string found = end != nullptr ? std::string(start, end) : std::string(start);
    if (found.empty())
        return false;
    argument = found.c_str();
    return true;
}

bool GKorvaneApp::OnDDECommand(char* command) {
    if (std::strcmp(command, "[activate()]") == 0) { // a second start without a file
        if (wxWindow* top = GetTopWindow())
            top->Raise();
        return true;
    }
    GString path;
    if (SplitDDECommand("open", command, path)) {
        wxDocManager* manager = wxDocManager::GetDocumentManager();
        const bool opened = manager != nullptr && manager->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT);
        if (wxWindow* top = GetTopWindow())
            top->Raise();
        return opened;
    }
    DDECommandInfo info{{Reason_DDECommand}, this, command, false};
    ClassCallbackSender<GKorvaneApp>().send(info);
    return info.handled;
}
