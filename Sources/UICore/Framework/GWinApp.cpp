#include "Framework/GWinApp.h"

#include "Classes/GModuleLoader.h"
#include "Errors/GException.h"
#include "Files/FileFind.h"
#include "win/MessageBox.h"

#include <wx/msgdlg.h>

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

void GWinApp::InstallMessageBoxes() {
    MessageBoxHandler previous = SetMessageBoxHandler(
        [](HWND, const char* text, const char* caption, UINT type) { return DoMessageBox(text, caption, type); });
    if (previous)
        SetMessageBoxHandler(std::move(previous));
}

int GWinApp::DoMessageBox(const char* text, const char* caption, UINT type) {
    long style = 0;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        style = wxOK | wxCANCEL;
        break;
    case MB_YESNOCANCEL:
        style = wxYES_NO | wxCANCEL;
        break;
    case MB_YESNO:
        style = wxYES_NO;
        break;
    default:
        style = wxOK;
        break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        style |= wxICON_ERROR;
        break;
    case MB_ICONQUESTION:
        style |= wxICON_QUESTION;
        break;
    case MB_ICONEXCLAMATION:
        style |= wxICON_WARNING;
        break;
    default:
        style |= wxICON_INFORMATION;
        break;
    }
    if ((type & MB_DEFMASK) == MB_DEFBUTTON2)
        style |= (style & wxYES_NO) != 0 ? wxNO_DEFAULT : wxCANCEL_DEFAULT;
    wxMessageDialog dialog(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, wxString::FromUTF8(text),
                           wxString::FromUTF8(caption), style);
    switch (dialog.ShowModal()) {
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    case wxID_CANCEL:
        return IDCANCEL;
    default:
        return IDOK;
    }
}
