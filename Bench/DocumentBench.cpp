// The document on a 4096 x 4096 scene of 20 objects of 512 x 512: a move of one object applied, undone and
// redone, each time until the off-screen buffer is up to date, beside a whole redraw; and the memory one undo
// step holds, for a move and for a command undone by a snapshot of the object.

#include "Commands/AddObjectCommand.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"

#include <benchmark/benchmark.h>

#include <wx/init.h>

#include <memory>

namespace {

// Moves a model; undone by moving it back.
class MoveCommand : public GImageCommand {
public:
    MoveCommand(GCompoundModel* model, int dx) : GImageCommand(UndoNothing), m_model(model), m_dx(dx) {}
    const GMetaClass& getMetaClass() const override { return GImageCommand::metaclass_; }
    bool doit() override {
        by(m_dx);
        return true;
    }
    void undoit() override { by(-m_dx); }

private:
    void by(int dx) {
        const GPoint& origin = m_model->getOrigin();
        m_model->setOrigin(POINT{origin.x + dx, origin.y});
    }
    GCompoundModel* m_model;
    int m_dx;
};

// Paints the selected model, undone by its snapshot.
class PaintCommand : public GImageCommand {
public:
    PaintCommand() : GImageCommand(UndoSelectedModel) {}
    const GMetaClass& getMetaClass() const override { return GImageCommand::metaclass_; }
    bool doit() override {
        getSelectedModel()->getModifiableImage().set_pixel(0, 0, 0xFF000000);
        getSelectedModel()->invalidate();
        return true;
    }
};

// A document of the scene the other scene benchmarks use, with one object selected and the buffer drawn.
struct SceneDocument {
    SceneDocument() : document(new GKorvaneDoc) {
        AddCoreStringLoader();
        AddUIStringLoader();
        manager.AddDocument(document);
        auto* root = new GCompoundModel(4096, 4096);
        root->getModifiableImage().full_fill(0xFF305070);
        document->setModel(root);
        for (int i = 0; i < 20; ++i) {
            auto* object = new GCompoundModel(512, 512);
            object->getModifiableImage().full_fill(0xC0000000u | static_cast<DWORD>(i * 0x0B0907));
            object->setOrigin(POINT{(i % 5) * 800 + 50, (i / 5) * 950 + 100});
            document->applyCommand(new AddObjectCommand(object));
        }
        moved = document->getModel()->getChild(7);
        document->setSelectedModel(moved);
        redraw();
    }
    ~SceneDocument() {
        manager.RemoveDocument(document);
        delete document;
    }
    void redraw() { document->validateOffscreen(document->getModel()->getCombinedImage()); }

    wxInitializer framework;
    GKorvaneDocManager manager;
    GKorvaneDoc* document;
    GCompoundModel* moved = nullptr;
};

void BM_WholeRedraw(benchmark::State& state) {
    SceneDocument scene;
    for (auto _ : state) {
        scene.document->getModel()->invalidate();
        scene.redraw();
    }
}
BENCHMARK(BM_WholeRedraw)->Unit(benchmark::kMillisecond);

// A move of 10 pixels applied and drawn, alternately right and left.
void BM_ApplyMoveAndRedraw(benchmark::State& state) {
    SceneDocument scene;
    int dx = 10;
    for (auto _ : state) {
        scene.document->applyCommand(new MoveCommand(scene.moved, dx));
        scene.redraw();
        dx = -dx;
    }
}
BENCHMARK(BM_ApplyMoveAndRedraw)->Unit(benchmark::kMillisecond);

// The same move undone and redone, each drawn.
void BM_UndoRedoMoveAndRedraw(benchmark::State& state) {
    SceneDocument scene;
    scene.document->applyCommand(new MoveCommand(scene.moved, 10));
    for (auto _ : state) {
        scene.document->undo();
        scene.redraw();
        scene.document->redo();
        scene.redraw();
    }
}
BENCHMARK(BM_UndoRedoMoveAndRedraw)->Unit(benchmark::kMillisecond);

// The undo memory of 16 steps of each kind, per step.
void BM_UndoMemoryPerStep(benchmark::State& state) {
    SceneDocument scene;
    std::size_t moveBytes = 0;
    std::size_t paintBytes = 0;
    for (auto _ : state) {
        scene.document->getUndoStack().clear();
        for (int i = 0; i < 16; ++i)
            scene.document->applyCommand(new MoveCommand(scene.moved, i % 2 == 0 ? 1 : -1));
        moveBytes = scene.document->undoMemory() / 16;
        scene.document->getUndoStack().clear();
        for (int i = 0; i < 16; ++i)
            scene.document->applyCommand(new PaintCommand);
        paintBytes = scene.document->undoMemory() / 16;
    }
    state.counters["move_bytes"] = static_cast<double>(moveBytes);
    state.counters["snapshot_bytes"] = static_cast<double>(paintBytes);
}
BENCHMARK(BM_UndoMemoryPerStep)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
