// The scene view repainting, in a real window (run under xvfb-run): the whole window, and what a move of one
// object of 64 x 64 pixels by 8 pixels leaves to repaint, at 1:1 and zoomed 2:1, on a 1600 x 1200 scene of twenty
// objects shown in an 800 x 600 view. The toolkit paints on its frame clock, so the wall time is that of the
// display's frames; the processor time ("CPU") is what a repaint costs.

#include "Commands/AddObjectCommand.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"
#include "Views/GKorvaneView.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>

#include <cstdlib>

namespace {

// The framework with its windows, started before anything of it is made.
struct Framework {
    Framework() {
        AddCoreStringLoader();
        AddUIStringLoader();
        static int argc = 1;
        static char name[] = "KorvaneWindowBench";
        static char* argv[] = {name, nullptr};
        wxApp::SetInstance(new wxApp);
        wxEntryStart(argc, argv);
        wxTheApp->CallOnInit();
    }
};

// A window holding a view of the scene, made once for every benchmark.
struct SceneWindow {
    SceneWindow() {
        document = new GKorvaneDoc;
        manager.AddDocument(document);
        auto* root = new GCompoundModel(1600, 1200);
        root->getModifiableImage().full_fill(0xFF305070);
        document->setModel(root);
        for (int i = 0; i < 20; ++i) {
            auto* object = new GCompoundModel(64, 64);
            object->getModifiableImage().full_fill(0xC0000000u | static_cast<DWORD>(i * 0x0B0907));
            object->setOrigin(POINT{(i % 5) * 150 + 40, (i / 5) * 130 + 30});
            document->applyCommand(new AddObjectCommand(object));
        }
        moved = document->getModel()->getChild(7);
        frame = new wxFrame(nullptr, wxID_ANY, "view");
        frame->SetClientSize(800, 600);
        view = new GKorvaneView(frame, document);
        view->SetSize(0, 0, 800, 600);
        wxEventLoopBase::SetActive(&loop);
        view->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            ++paints;
            event.Skip();
        });
        frame->Show();
        wxTheApp->SetTopWindow(frame);
        while (paints == 0) // until the window is on the screen and painted
            loop.Dispatch();
    }
    // Waits (without using the processor) for the paint of what was invalidated; the time the processor spends
    // meanwhile is the repaint's.
    void paint() {
        const int before = paints;
        while (paints == before)
            loop.Dispatch();
    }
    void repaintAll() {
        view->Refresh(false);
        paint();
    }
    // Moves the object by dx and repaints what the move invalidated.
    void moveAndRepaint(int dx) {
        const GPoint& origin = moved->getOrigin();
        moved->setOrigin(POINT{origin.x + dx, origin.y});
        paint();
    }

    wxEventLoop loop;
    int paints = 0;

    Framework framework;
    GKorvaneDocManager manager;
    GKorvaneDoc* document = nullptr;
    GCompoundModel* moved = nullptr;
    wxFrame* frame = nullptr;
    GKorvaneView* view = nullptr;
};

SceneWindow* window(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no display: run under xvfb-run");
        return nullptr;
    }
    static SceneWindow* shown = new SceneWindow; // lives as long as the program: the framework outlives the runs
    return shown;
}

void BM_ViewRepaintWhole(benchmark::State& state) {
    SceneWindow* scene = window(state);
    if (scene == nullptr)
        return;
    scene->view->setZoom(GViewZoom(static_cast<int>(state.range(0)), 1));
    for (auto _ : state)
        scene->repaintAll();
}
BENCHMARK(BM_ViewRepaintWhole)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ViewRepaintAfterMove(benchmark::State& state) {
    SceneWindow* scene = window(state);
    if (scene == nullptr)
        return;
    scene->view->setZoom(GViewZoom(static_cast<int>(state.range(0)), 1));
    scene->repaintAll();
    int dx = 8;
    for (auto _ : state) {
        scene->moveAndRepaint(dx);
        dx = -dx;
    }
}
BENCHMARK(BM_ViewRepaintAfterMove)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
