// Editor contexts on a document: their strings, the commands they continue, one-time actions, and the routing of
// mouse input to them.

#include "Classes/GClassBoilerplate.h"
#include "Commands/DeleteImageCommand.h"
#include "Commands/GUndoStackIterator.h"
#include "Commands/SelectImageCommand.h"
#include "Contexts/GContextInputRouter.h"
#include "Contexts/GSimpleCommandEditorContext.h"
#include "Framework/CCmdUI.h"
#include "UI/Document/DocumentTesting.h"

namespace {

// A context that records what reaches it.
class RecordingContext : public GEditorContext {
public:
    const GMetaClass& getMetaClass() const override { return GEditorContext::metaclass_; }
    void onLButtonDown(UINT, POINT point) override { events.push_back("down " + std::to_string(point.x)); }
    void onMouseMove(UINT, POINT) override { events.emplace_back("move"); }
    void onMouseEnter(POINT) override { events.emplace_back("enter"); }
    void onMouseLeave() override { events.emplace_back("leave"); }
    std::vector<std::string> events;
};

// Fills the selected model with its pixel; a pixel of 0 changes nothing, and the command says so.
class GPixelFillCommand : public GImageCommand {
    G_CLASS(GPixelFillCommand)
    GPixelFillCommand() : GImageCommand(UndoSelectedModel) {}
    bool doit() override {
        if (pixel == 0)
            return false;
        getSelectedModel()->getModifiableImage().full_fill(pixel);
        getSelectedModel()->invalidate();
        return true;
    }
    DWORD pixel = 0;
};

G_IMPLEMENT_CLASS(GPixelFillCommand, GImageCommand)

} // namespace

TEST(GEditorContext, TheContextStringSplitsAtTheBar) {
    GEditorContext context;
    context.setContextString("Move|Drag an object");
    GString text;
    context.getMenuName(text);
    EXPECT_EQ(text, "Move");
    context.getPrompt(text);
    EXPECT_EQ(text, "Drag an object");
    context.setContextString("Pan");
    context.getMenuName(text);
    EXPECT_EQ(text, "Pan");
    context.getPrompt(text);
    EXPECT_EQ(text, "");
}

TEST_F(DocumentTest, TheLastCommandIsContinuedOnlyForItsExactClassAndModel) {
    GCompoundModel* object = addObject(10, 10, {0, 0});
    GCompoundModel* other = addObject(5, 5, {30, 30});
    GEditorContext context;
    EXPECT_NE(context.getLastCommandByClass(&AddObjectCommand::metaclass_, false), nullptr);
    EXPECT_EQ(context.getLastCommandByClass(&GImageCommand::metaclass_, false), nullptr); // a base class
    document->applyCommand(new DeleteImageCommand(other));
    EXPECT_EQ(context.getLastCommandByClass(&AddObjectCommand::metaclass_, false), nullptr); // a subclass on top
    EXPECT_NE(context.getLastCommandByClass(&DeleteImageCommand::metaclass_, false), nullptr);
    EXPECT_EQ(context.getLastCommandByClass(&DeleteImageCommand::metaclass_, true), nullptr); // made for `other`
    document->setSelectedModel(object);
    GImageCommand* made = context.getCurrentCommandByClass(&DeleteImageCommand::metaclass_, true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(document->getLastCommand(), made); // attached, not yet done
    EXPECT_EQ(object->getParent(), document->getModel());
    document->applyLastCommand();
    EXPECT_EQ(object->getParent(), nullptr);
}

TEST_F(DocumentTest, AOneTimeContextActsOnceAndStaysNotCurrent) {
    GCompoundModel* object = addObject(10, 10, {0, 0});
    RecordingContext tool;
    document->setContext(&tool);
    CCmdUI item;
    tool.onUpdateUI(item);
    EXPECT_EQ(item.checked(), 1);
    GSimpleCommandEditorContext deleting(&DeleteImageCommand::metaclass_);
    document->setContext(&deleting);
    EXPECT_EQ(object->getParent(), nullptr);
    EXPECT_EQ(document->getContext(), nullptr);
    tool.onUpdateUI(item);
    EXPECT_EQ(item.checked(), 0);
    document->setContext(&tool); // what the application does afterwards
    EXPECT_EQ(document->getContext(), &tool);
    document->setContext(nullptr);
}

TEST_F(DocumentTest, ClicksSelectFirstUnlessTheContextTakesThem) {
    GCompoundModel* left = addObject(10, 10, {0, 0});
    GCompoundModel* right = addObject(10, 10, {50, 0});
    RecordingContext tool;
    document->setContext(&tool);
    bool commandEnabled = true;
    GContextInputRouter router(*document, [&](UINT) { return commandEnabled; });
    router.lButtonDown(0, POINT{3, 3});
    EXPECT_EQ(document->getSelectedModel(), left);
    EXPECT_EQ(left->getIndexInParent(), 1); // brought to the top
    const int commands = document->getUndoStack().size();
    router.lButtonDown(0, POINT{4, 4}); // the selection again: no command
    EXPECT_EQ(document->getUndoStack().size(), commands);
    router.rButtonDown(0, POINT{300, 300}); // the background
    EXPECT_EQ(document->getSelectedModel(), document->getModel());
    tool.clickSelection(false);
    router.lButtonDown(0, POINT{53, 3});
    EXPECT_EQ(document->getSelectedModel(), document->getModel());
    EXPECT_EQ(tool.events, (std::vector<std::string>{"enter", "down 3", "down 4", "down 53"}));
    commandEnabled = false;
    router.mouseMove(0, POINT{1, 1});
    router.mouseLeave();
    router.lButtonDown(0, POINT{53, 3}); // not routed, but the click still selects
    EXPECT_EQ(document->getSelectedModel(), right);
    EXPECT_EQ(tool.events.size(), 4u);
    document->setContext(nullptr);
}

TEST_F(DocumentTest, TheUndoIteratorStopsAtACommandThatChangedAnotherModel) {
    GCompoundModel* a = addObject(10, 10, {0, 0});
    GCompoundModel* b = addObject(10, 10, {20, 0});
    document->applyCommand(new SelectImageCommand(a, false));
    document->applyCommand(new SelectImageCommand(b, false));
    // Both selections changed only the root's children; the adds before them changed the root too.
    GUndoStackIterator selections(&SelectImageCommand::metaclass_, *document->getModel());
    ASSERT_TRUE(selections);
    EXPECT_EQ(selections.command(), document->getLastCommand());
    ++selections;
    ASSERT_TRUE(selections);
    ++selections; // an AddObjectCommand: of the models of interest, but another class
    EXPECT_FALSE(selections);

    // A command over the selected model only is skipped when looking for commands over another model.
    GUndoStackIterator onA(&SelectImageCommand::metaclass_, *a);
    EXPECT_FALSE(onA);
}

TEST_F(DocumentTest, AContinuedCommandThatNowChangesNothingTakesBackItsEarlierRuns) {
    GCompoundModel* object = addObject(4, 4, {0, 0}, 0xFF0000AA);
    GEditorContext context;
    for (const DWORD pixel : {0xFF0000BBu, 0xFF0000CCu}) {
        auto* command =
            static_cast<GPixelFillCommand*>(context.getCurrentCommandByClass(&GPixelFillCommand::metaclass_, true));
        ASSERT_NE(command, nullptr);
        command->pixel = pixel;
        context.applyLastCommand(true);
        ASSERT_EQ(document->getUndoStack().size(), 2);
    }
    // The gesture comes back to where it started: the command changes nothing, and the scene is as before it.
    auto* command =
        static_cast<GPixelFillCommand*>(context.getCurrentCommandByClass(&GPixelFillCommand::metaclass_, true));
    command->pixel = 0;
    context.applyLastCommand(true);
    EXPECT_EQ(document->getUndoStack().size(), 1);
    EXPECT_EQ(object->getImage().get_pixel(1, 1), 0xFF0000AAu);
    EXPECT_EQ(document->getModel()->getCombinedImage().get_pixel(1, 1), 0xFF0000AAu);
    // A new command that fails on its first run has nothing to take back.
    command = static_cast<GPixelFillCommand*>(context.getCurrentCommandByClass(&GPixelFillCommand::metaclass_, true));
    command->pixel = 0;
    context.applyLastCommand(true);
    EXPECT_EQ(document->getUndoStack().size(), 1);
    EXPECT_EQ(object->getImage().get_pixel(1, 1), 0xFF0000AAu);
    ASSERT_TRUE(document->undo()); // the next undo takes the object out, as it should
    EXPECT_EQ(object->getParent(), nullptr);
}
