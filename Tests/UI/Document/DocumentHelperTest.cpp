// Models handed in from outside, and the document's notices.

#include "Document/GKorvaneDocHelper.h"
#include "Sound/GPlayApplicationEventSound.h"
#include "UI/Document/DocumentTesting.h"

namespace {

std::vector<std::string> played;

// Records what the document tells about its selection.
class SelectionWatcher : public GCallbackReceiver {
public:
    SelectionWatcher() { GKorvaneDoc::RegisterCallback(*this); }
    ~SelectionWatcher() override { GKorvaneDoc::UnRegisterCallback(*this); }
    void callbackReceived(GCallbackEvent& event) override {
        if (event.reason == GKorvaneDoc::Reason_SelectedModelChanged) {
            auto& info = static_cast<GKorvaneDoc::SelectionInfo&>(event);
            changes.emplace_back(info.previous, info.selected);
        }
    }
    std::vector<std::pair<GCompoundModel*, GCompoundModel*>> changes;
};

} // namespace

TEST_F(DocumentTest, ADroppedObjectIsFlattenedCentredAndAddedByACommand) {
    const ApplicationEventSoundPlayer previous =
        SetApplicationEventSoundPlayer([](const char* name) { played.emplace_back(name); });
    SelectionWatcher watcher;
    auto* dropped = new GCompoundModel(10, 6);
    auto* inner = new GCompoundModel(2, 2);
    inner->getModifiableImage().full_fill(0xFF00FF00);
    inner->invalidate();
    dropped->addChild(inner);
    GKorvaneDocHelper::AddModelByType(GCompoundModel::TypeObject, dropped, POINT{100, 50});
    EXPECT_EQ(played, std::vector<std::string>{"Korvane_ObjectDropped"});
    ASSERT_EQ(document->getModel()->getChildCount(), 1);
    EXPECT_EQ(dropped->getChildCount(), 0);
    EXPECT_EQ(dropped->getImage().get_pixel(1, 1), 0xFF00FF00u);
    EXPECT_EQ(dropped->getOrigin().x, 95);
    EXPECT_EQ(dropped->getOrigin().y, 47);
    ASSERT_EQ(watcher.changes.size(), 1u);
    EXPECT_EQ(watcher.changes[0].second, dropped);
    EXPECT_TRUE(document->IsModified());

    GKorvaneDocHelper::AddModelByType(GCompoundModel::TypeScene, new GCompoundModel(30, 20));
    EXPECT_EQ(document->getModel()->get_width(), 30);
    EXPECT_FALSE(document->IsModified());
    GKorvaneDocHelper::AddModelByType(GCompoundModel::TypeBackground, new GCompoundModel(40, 20));
    EXPECT_EQ(document->getModel()->get_width(), 40);
    EXPECT_EQ(document->getUndoStack().size(), 1);
    GKorvaneDocHelper::AddModelByType(GCompoundModel::TypeUnknown, new GCompoundModel(5, 5)); // dropped
    EXPECT_EQ(document->getUndoStack().size(), 1);
    SetApplicationEventSoundPlayer(previous);
}
