// The command life cycle on a real document: modified flag, undo and redo, commands that fail, the four
// commands of the application library.

#include "Classes/GPointer.h"
#include "Commands/DeleteImageCommand.h"
#include "Commands/GCombinedImageCommand.h"
#include "Commands/ReplaceBackgroundCommand.h"
#include "Commands/SelectImageCommand.h"
#include "Settings/GRegistryDWord.h"
#include "Text/GString.h"
#include "Text/UIStringTable.h"
#include "UI/Document/DocumentTesting.h"

namespace {

// A command that fails, as a sub-command or alone.
class FailingCommand : public GImageCommand {
public:
    FailingCommand() : GImageCommand(UndoNothing) {}
    const GMetaClass& getMetaClass() const override { return GImageCommand::metaclass_; }
    bool doit() override { return false; }
};

// Fills the selected model with a colour, undone by the snapshot of the selected model.
class FillCommand : public GImageCommand {
public:
    explicit FillCommand(DWORD pixel) : GImageCommand(UndoSelectedModel), m_pixel(pixel) {}
    const GMetaClass& getMetaClass() const override { return GImageCommand::metaclass_; }
    bool doit() override {
        getSelectedModel()->getModifiableImage().full_fill(m_pixel);
        getSelectedModel()->invalidate();
        return true;
    }

private:
    DWORD m_pixel;
};

} // namespace

TEST_F(DocumentTest, ANewDocumentIsABlankBackgroundAndUnmodified) {
    GCompoundModel* model = document->getModel();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->get_width(), 559);
    EXPECT_EQ(model->get_height(), 421);
    EXPECT_FALSE(model->baseImageExists());
    EXPECT_TRUE(document->getUndoStack().empty());
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(document->getSelectedModel(), model);
}

TEST_F(DocumentTest, ModifiedThroughApplyUndoRedoAndSave) {
    addObject(10, 10, {5, 5});
    EXPECT_TRUE(document->IsModified());
    document->undo();
    EXPECT_FALSE(document->IsModified());
    document->redo();
    EXPECT_TRUE(document->IsModified());
    ASSERT_TRUE(document->OnSaveDocument("saved.kor"));
    EXPECT_FALSE(document->IsModified());
    // Undone after the save, the scene differs from the file although the undo stack is empty.
    document->undo();
    EXPECT_TRUE(document->getUndoStack().empty());
    EXPECT_TRUE(document->IsModified());
    document->redo();
    EXPECT_FALSE(document->IsModified());
    // A new command while the saved state sits on the redo stack makes that state unreachable.
    document->undo();
    addObject(3, 3, {1, 1});
    document->undo();
    EXPECT_TRUE(document->IsModified());
}

TEST_F(DocumentTest, AFailedCommandIsNeverKeptAndLeavesTheRedoStack) {
    addObject(10, 10, {5, 5});
    document->undo();
    ASSERT_EQ(document->getRedoStack().size(), 1);
    EXPECT_FALSE(document->applyCommand(new FailingCommand));
    EXPECT_TRUE(document->getUndoStack().empty());
    EXPECT_EQ(document->getRedoStack().size(), 1);
    EXPECT_FALSE(document->lastCommandResult());

    auto* combined = new GCombinedImageCommand;
    combined->addCommand(new FailingCommand);
    combined->addCommand(new FailingCommand);
    EXPECT_FALSE(document->applyCommand(combined));
    EXPECT_TRUE(document->getUndoStack().empty());

    EXPECT_FALSE(document->applyCommand(new DeleteImageCommand(document->getModel())));
    EXPECT_TRUE(document->getUndoStack().empty());
    EXPECT_EQ(document->getRedoStack().size(), 1);
    // A command that does something clears the redo stack.
    addObject(4, 4, {0, 0});
    EXPECT_TRUE(document->getRedoStack().empty());
}

TEST_F(DocumentTest, AddingAnObjectUndoesToThePreviousSelection) {
    GCompoundModel* first = addObject(10, 10, {5, 5});
    GCompoundModel* second = addObject(8, 8, {30, 30});
    EXPECT_EQ(document->getSelectedModel(), second);
    document->undo();
    EXPECT_EQ(second->getParent(), nullptr);
    EXPECT_EQ(document->getModel()->getChildCount(), 1);
    EXPECT_EQ(document->getSelectedModel(), first);
    // Clearing the redo stack destroys the object the command holds (the sanitizers see a leak otherwise).
    addObject(2, 2, {0, 0});
}

TEST_F(DocumentTest, DeletingTheSelectionSelectsTheBackgroundAndUndoPutsItBack) {
    GCompoundModel* first = addObject(10, 10, {5, 5});
    addObject(8, 8, {30, 30});
    document->setSelectedModel(first);
    ASSERT_TRUE(document->applyCommand(new DeleteImageCommand));
    EXPECT_EQ(document->getSelectedModel(), document->getModel());
    EXPECT_EQ(document->getModel()->getChildCount(), 1);
    document->undo();
    EXPECT_EQ(first->getIndexInParent(), 0);
    EXPECT_EQ(document->getSelectedModel(), first);
    document->redo();
    EXPECT_EQ(first->getParent(), nullptr);
}

TEST_F(DocumentTest, SelectingWithBringToTopUndoesToTheFormerIndexAndSelection) {
    GCompoundModel* a = addObject(10, 10, {0, 0});
    GCompoundModel* b = addObject(10, 10, {20, 0});
    GCompoundModel* c = addObject(10, 10, {40, 0});
    ASSERT_TRUE(document->applyCommand(new SelectImageCommand(a, true)));
    EXPECT_EQ(a->getIndexInParent(), 2);
    EXPECT_EQ(document->getSelectedModel(), a);
    document->undo();
    EXPECT_EQ(a->getIndexInParent(), 0);
    EXPECT_EQ(b->getIndexInParent(), 1);
    EXPECT_EQ(document->getSelectedModel(), c);
    document->redo();
    EXPECT_EQ(a->getIndexInParent(), 2);
    EXPECT_EQ(document->getSelectedModel(), a);
}

TEST_F(DocumentTest, ASmallerBackgroundAsksOnceAndDeletesWhatItMisses) {
    GCompoundModel* inside = addObject(10, 10, {5, 5});
    GCompoundModel* outside = addObject(10, 10, {300, 300});
    const int before = document->getUndoStack().size();
    {
        MessageBoxAnswers cancel(IDCANCEL);
        EXPECT_FALSE(document->applyCommand(new ReplaceBackgroundCommand(new GCompoundModel(100, 100))));
        EXPECT_EQ(cancel.asked.size(), 1u);
        EXPECT_EQ(document->getUndoStack().size(), before);
        EXPECT_EQ(document->getModel()->get_width(), 559);
    }
    MessageBoxAnswers ok(IDOK);
    auto* background = new GCompoundModel(100, 100);
    background->getModifiableImage().full_fill(0x80112233);
    ASSERT_TRUE(document->applyCommand(new ReplaceBackgroundCommand(background)));
    ASSERT_EQ(ok.asked.size(), 1u);
    EXPECT_EQ(ok.asked[0], std::string(GString(GetUIModule(), IDS_SMALLER_BACKGROUND)));
    EXPECT_EQ(document->getUndoStack().size(), before + 1);
    EXPECT_EQ(outside->getParent(), nullptr);
    EXPECT_EQ(inside->getParent(), document->getModel());
    EXPECT_EQ(document->getModel()->get_width(), 100);
    EXPECT_EQ(document->getModel()->getImage().get_pixel(50, 50), 0xFF112233u); // made opaque
    document->undo();
    EXPECT_EQ(document->getModel()->get_width(), 559);
    EXPECT_EQ(outside->getIndexInParent(), 1);
}

TEST_F(DocumentTest, TheOldestUndoStepsGoPastTheUndoMemory) {
    GRegistryDWord& limit = GKorvaneDoc::UndoMemoryLimit();
    const DWORD before = limit;
    // MiB; each step holds a snapshot of 400 x 400 pixels and of the object's unmodified copy, 1.26 MiB (the
    // first step 0.63 MiB: the object has no such copy before its first change)
    limit = 4;
    GCompoundModel* object = addObject(400, 400, {0, 0});
    for (DWORD i = 1; i <= 10; ++i)
        ASSERT_TRUE(document->applyCommand(new FillCommand(0xFF000000 | i)));
    EXPECT_LE(document->undoMemory(), std::size_t{4} << 20);
    EXPECT_EQ(document->getUndoStack().size(), 3);
    document->undo(); // the newest steps are the ones kept
    EXPECT_EQ(object->getImage().get_pixel(0, 0), 0xFF000009u);
    while (document->undo()) {
    }
    EXPECT_EQ(object->getImage().get_pixel(0, 0), 0xFF000007u);
    EXPECT_TRUE(document->IsModified()); // the state on disk cannot be reached any more
    limit = before;
}

TEST_F(DocumentTest, AnObjectHandedToTheCommandLaterIsOwnedByIt) {
    {
        auto* first = new GCompoundModel(2, 2);
        auto* second = new GCompoundModel(3, 3);
        TGPointer<GCompoundModel> firstAlive(first);
        TGPointer<GCompoundModel> secondAlive(second);
        {
            AddObjectCommand never;
            never.set_object(first);
            never.set_object(second); // the first is the command's and goes
            EXPECT_EQ(firstAlive.get(), nullptr);
            EXPECT_EQ(never.getObject(), second);
        }
        EXPECT_EQ(secondAlive.get(), nullptr); // never done: destroyed with the command
    }
    auto* command = new AddObjectCommand;
    auto* object = new GCompoundModel(4, 4);
    TGPointer<GCompoundModel> alive(object);
    command->set_object(object);
    ASSERT_TRUE(document->applyCommand(command));
    EXPECT_EQ(object->getParent(), document->getModel());
    EXPECT_EQ(document->getSelectedModel(), object);
    document->undo();
    EXPECT_EQ(object->getParent(), nullptr);
    document->getRedoStack().clear();
    EXPECT_EQ(alive.get(), nullptr);
}
