// The main of the window tests: the real application starts (main window, document, view) on the display that
// xvfb-run provides, and the tests run inside its event loop, driving it with commands, clicks and drops as a
// person would. Settings come from the shipped defaults into a store of the run's own, in a temporary folder.

#include "Application/GKorvaneApp.h"
#include "Sound/GPlayApplicationEventSound.h"
#include "Support/TempDirectory.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"
#include "win/MessageBox.h"

#include <gtest/gtest.h>

#include <wx/log.h>
#include <wx/window.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int testsResult = 1;

// The event sounds played, in order, instead of the desktop's sounds.
std::vector<std::string> playedSounds;

class ShellTestProgram : public GKorvaneApp {
public:
    bool OnInit() override {
        AddCoreStringLoader();
        AddUIStringLoader();
        serveOtherStarts(true);
        // The framework's own complaints go to standard error, never into a dialog that waits for a click.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        SetApplicationEventSoundPlayer(
            [](const char* name) { playedSounds.emplace_back(name != nullptr ? name : ""); });
        if (!GKorvaneApp::OnInit())
            return false;
        CallAfter([this] {
            testsResult = RUN_ALL_TESTS();
            // What the tests changed is not saved at the end.
            SetMessageBoxHandler([](HWND, const char*, const char*, UINT) { return IDNO; });
            GetTopWindow()->Close(true);
        });
        return true;
    }
};

} // namespace

const std::vector<std::string>& PlayedSounds() {
    return playedSounds;
}

wxIMPLEMENT_APP_NO_MAIN(ShellTestProgram);

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TempDirectory workFolder;
    std::filesystem::current_path(workFolder.path());
    setenv("KORVANE_REGISTRY", (workFolder.path() / "settings.reg").c_str(), 1);
    setenv("KORVANE_REGISTRY_DEFAULTS", KORVANE_DEFAULT_SETTINGS, 1);
    // The toolkit's own settings (the file chooser's) stay in memory, away from the desktop's.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    wxApp::SetInitializerFunction(wxCreateApp);
    wxApp::SetInstance(wxCreateApp());
    int programArgc = 1;
    const int status = wxEntry(programArgc, argv);
    std::filesystem::current_path("/");
    return status != 0 ? status : testsResult;
}
