#include "Framework/GWinApp.h"

#include "Classes/GModuleLoader.h"
#include "Errors/GException.h"
#include "Files/FileFind.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

GWinApp::~GWinApp() {
    for (auto module = m_modules.rbegin(); module != m_modules.rend(); ++module)
        GModuleLoader::Free(*module);
}

void GWinApp::load_external_modules(const std::vector<GString>& directories, const std::vector<GString>& masks) {
    for (const GString& directory : directories) {
        std::vector<GString> files;
        for (const GString& mask : masks)
            for (FileFind found(GString(directory) + "/" + mask); found; ++found)
                files.push_back(found.name);
        const auto before = [](const GString& a, const GString& b) {
            return std::strcmp(a, b) < 0;
        };
        std::sort(files.begin(), files.end(), before);
        files.erase(std::unique(files.begin(), files.end(),
                                [](const GString& a, const GString& b) { return std::strcmp(a, b) == 0; }),
                    files.end());
        for (const GString& file : files)
            load_external_module(file);
    }
}

HMODULE GWinApp::load_external_module(const char* path) {
    try {
        const HMODULE module = GModuleLoader::Load(path);
        m_modules.push_back(module);
        return module;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        char message[512];
        e->GetErrorMessage(message, sizeof message);
        std::fprintf(stderr, "%s: %s\n", path, message);
        return nullptr;
    }
}
