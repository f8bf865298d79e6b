// GKorvaneApp: the plug-ins, where they are found and the contexts they announce.

#include "Application/GKorvaneApp.h"

#include "Commands/GImageCommand.h"
#include "Contexts/GSimpleCommandEditorContext.h"
#include "Files/FileFind.h"
#include "Settings/GRegistryString.h"
#include "Text/UIStringTable.h"
#include "win/Modules.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// The parts of `text` between the separators, empty parts dropped.
std::vector<GString> split(const char* text, char separator) {
    std::vector<GString> parts;
    const std::string all = text;
    std::size_t start = 0;
    while (start <= all.size()) {
        const std::size_t end = std::min(all.find(separator, start), all.size());
        if (end > start)
            parts.emplace_back(all.substr(start, end - start).c_str());
        start = end + 1;
    }
    return parts;
}

GString programDirectory() {
    return std::filesystem::path(GetModuleFileNameA(nullptr)).parent_path().c_str();
}

// The directory, then each of its subdirectories with theirs, depth first.
void addWithSubdirectories(const GString& directory, std::vector<GString>& out) {
    out.push_back(directory);
    std::vector<GString> children;
    for (FileFind found(directory + "/*.*", FileFind::Directories); found; ++found) {
        const GFile name = found.name.get_name();
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            children.push_back(found.name);
    }
    std::sort(children.begin(), children.end(),
              [](const GString& a, const GString& b) { return std::strcmp(a, b) < 0; });
    for (const GString& child : children)
        addWithSubdirectories(child, out);
}

// The context a class announced by a plug-in gets: a command class runs as a one-time context.
GEditorContext* contextFor(const GMetaClass& meta) {
    if (meta.isKindOf(&GImageCommand::metaclass_) != nullptr)
        return new GSimpleCommandEditorContext(&meta);
    return BuildObjectAs<GEditorContext>(&meta);
}

} // namespace

void GKorvaneApp::getPluginDirectories(std::vector<GString>& directories) const {
    directories.clear();
    const GString program = programDirectory();
    directories.push_back(program);
    GRegistryString setting(nullptr, "", "PluginDirs", "");
    for (const GString& entry : split(setting, ';')) {
        const std::filesystem::path path(static_cast<const char*>(entry));
        const std::filesystem::path full =
            path.is_relative() ? std::filesystem::path(static_cast<const char*>(program)) / path : path;
        if (std::filesystem::is_directory(full))
            addWithSubdirectories(full.c_str(), directories);
    }
}

void GKorvaneApp::getPluginMasks(std::vector<GString>& masks) const {
    masks = split(GString(GetUIModule(), IDS_PLUGIN_MASKS), '|');
}

HMODULE GKorvaneApp::load_external_module(const char* path) {
    const HMODULE module = GWinApp::load_external_module(path);
    if (module != nullptr)
        collectContextsFromModule(module);
    return module;
}

void GKorvaneApp::collectContextsFromModule(HMODULE module) {
    const std::string text = static_cast<const char*>(GString(module, IDS_PLUGIN_CONTEXTS));
    for (std::size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
        const std::size_t close = text.find('}', open);
        if (close == std::string::npos)
            return;
        const std::string group = text.substr(open + 1, close - open - 1);
        const std::size_t equals = group.find('=');
        if (equals == std::string::npos)
            continue;
        const GMetaClass* meta = GMetaClass::FindByName(group.substr(0, equals).c_str());
        if (meta == nullptr || findContextByClass(meta) != nullptr)
            continue;
        if (GEditorContext* context = contextFor(*meta))
            appendContext(context, group.substr(equals + 1).c_str());
    }
}
