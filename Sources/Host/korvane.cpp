// korvane: the desktop program.
//   korvane [FILE]                      open the scene FILE, or a new scene
//   korvane --screenshot OUT.png [FILE] the same, then the main window painted into OUT.png, and exit
//   korvane --startup-time [FILE]       the same, then the time from start to the first painted frame, and exit
//   korvane --help | --version

#include "Application/GKorvaneApp.h"
#include "Document/GKorvaneDoc.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"
#include "Views/GKorvaneView.h"
#include "win/MessageBox.h"

#include <wx/image.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

int screenshotStatus = 0; // the application object is gone when wxEntry returns
bool handedOver = false;  // the file went to the program already running

const char* const Usage = R"(Usage:
  korvane [FILE]                       start, opening the scene FILE (a new scene without one)
  korvane --screenshot OUT.png [FILE]  start as above, write the main window's picture to OUT.png and exit
  korvane --startup-time [FILE]        start as above, print the time to the first painted frame and exit
  korvane --help                       show this text
  korvane --version                    show the version
The program needs a graphical display (DISPLAY or WAYLAND_DISPLAY); kortool works on files without one.
)";

// In a run that nobody watches (a screenshot, a measurement), messages go to standard error on one line and
// questions take their safe answer: never a window that waits for a click.
int answerUnattended(HWND, const char* text, const char*, UINT type) {
    std::string line = text != nullptr ? text : "";
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << "korvane: " << line << '\n';
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

// The application of this program: the string loaders first, then the application's start; with a screenshot
// asked for, the window's picture is written once the program is idle, and the program ends.
class KorvaneProgram : public GKorvaneApp {
public:
    bool OnInit() override {
        AddCoreStringLoader();
        AddUIStringLoader();
        if (!screenshot.empty() || timeStartup) {
            SetMessageBoxHandler(answerUnattended);
            delete wxLog::SetActiveTarget(new wxLogStderr);
        }
        if (!GKorvaneApp::OnInit()) {
            ::handedOver = GKorvaneApp::handedOver();
            return false;
        }
        if (!screenshot.empty())
            CallAfter([this] { writeScreenshot(); });
        if (timeStartup)
            reportFirstPaint();
        return true;
    }

    std::string screenshot;
    bool timeStartup = false;
    std::chrono::steady_clock::time_point started;

private:
    // Once the scene view has painted for the first time, the time since the program started, and the end.
    void reportFirstPaint() {
        GKorvaneView* view = GKorvaneDoc::GetActiveView();
        if (view == nullptr)
            return;
        view->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            event.Skip();
            CallAfter([this] {
                const auto elapsed = std::chrono::steady_clock::now() - started;
                std::cout << "korvane: the first frame was painted "
                          << std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() / 1000.0
                          << " ms after start\n";
                GetTopWindow()->Close(true);
            });
        });
    }

    void writeScreenshot() {
        auto* document = GKorvaneDoc::GetActiveDocument();
        auto* face = document != nullptr ? dynamic_cast<GKorvaneUserInterface*>(document->GetFirstView()) : nullptr;
        if (face == nullptr || !face->renderImage().SaveFile(screenshot, wxBITMAP_TYPE_PNG)) {
            std::cerr << "korvane: the screenshot '" << screenshot << "' cannot be written\n";
            screenshotStatus = 1;
        }
        GetTopWindow()->Close(true);
    }
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(KorvaneProgram);

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    bool timeStartup = false;
    std::string screenshot;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "korvane " << KORVANE_VERSION << '\n';
            return 0;
        }
        if (arg == "--startup-time") {
            timeStartup = true;
        } else if (arg == "--screenshot" && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (arg.rfind("-", 0) == 0 || !file.empty()) {
            std::cerr << "korvane: unexpected argument '" << arg << "'\n\n" << Usage;
            return 2;
        } else {
            file = arg;
        }
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0')) {
        std::cerr << "korvane: no graphical display (DISPLAY and WAYLAND_DISPLAY are not set); "
                     "use kortool for files on the command line\n";
        return 1;
    }
    wxApp::SetInitializerFunction(wxCreateApp);
    auto* program = static_cast<KorvaneProgram*>(wxCreateApp());
    program->screenshot = screenshot;
    program->timeStartup = timeStartup;
    program->started = started;
    program->setStartFile(wxString::FromUTF8(file));
    // A person's start joins the program already running; a measuring run stands alone.
    program->serveOtherStarts(screenshot.empty() && !timeStartup);
    wxApp::SetInstance(program);
    int exitArgc = 1;
    const int result = wxEntry(exitArgc, argv);
    if (handedOver)
        return 0;
    return result != 0 ? 1 : screenshotStatus;
}
