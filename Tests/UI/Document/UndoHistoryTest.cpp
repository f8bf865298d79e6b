// Random edits against a plain model of the expected tree: after every step the scene holds exactly the objects
// expected, in order, with the selection expected; undoing everything gives the first scene back pixel for pixel,
// and redoing everything the last.

#include "Commands/DeleteImageCommand.h"
#include "Commands/ReplaceBackgroundCommand.h"
#include "Commands/SelectImageCommand.h"
#include "UI/Document/DocumentTesting.h"

#include <random>

namespace {

struct Expected {
    std::vector<GCompoundModel*> order; // the root's children, bottom to top
    GCompoundModel* selected = nullptr; // null: the background
    int width = 0;
};

std::vector<DWORD> pixelsOf(GCompoundModel& root) {
    const GSprite& image = root.getCombinedImage();
    std::vector<DWORD> pixels;
    for (int y = 0; y < image.get_height(); ++y)
        pixels.insert(pixels.end(), image.get_line_address(y), image.get_line_address(y) + image.get_width());
    return pixels;
}

} // namespace

TEST_F(DocumentTest, RandomEditsUndoAndRedoExactly) {
    std::mt19937 random(11);
    GCompoundModel* root = document->getModel();
    std::vector<Expected> history{{{}, nullptr, root->get_width()}};
    std::size_t at = 0;
    const std::vector<DWORD> first = pixelsOf(*root);
    auto record = [&](Expected next) {
        history.resize(at + 1);
        history.push_back(std::move(next));
        ++at;
    };
    for (int step = 0; step < 400; ++step) {
        Expected next = history[at];
        const int choice = static_cast<int>(random() % 7);
        const int count = static_cast<int>(next.order.size());
        if (choice == 0 || count == 0) {
            const auto colour = static_cast<DWORD>(0x80000000u | (random() & 0xFFFFFF));
            next.order.push_back(addObject(5 + static_cast<int>(random() % 40), 5 + static_cast<int>(random() % 40),
                                           {static_cast<LONG>(random() % 500), static_cast<LONG>(random() % 380)},
                                           colour));
            next.selected = next.order.back();
            record(next);
        } else if (choice == 1) {
            const bool done = document->applyCommand(new DeleteImageCommand);
            ASSERT_EQ(done, next.selected != nullptr);
            if (done) {
                std::erase(next.order, next.selected);
                next.selected = nullptr;
                record(next);
            }
        } else if (choice == 2) {
            GCompoundModel* model = next.order[random() % next.order.size()];
            const bool toTop = random() % 2 == 0;
            ASSERT_TRUE(document->applyCommand(new SelectImageCommand(model, toTop)));
            if (toTop) {
                std::erase(next.order, model);
                next.order.push_back(model);
            }
            next.selected = model;
            record(next);
        } else if (choice == 3) {
            auto* background = new GCompoundModel(next.width + static_cast<int>(random() % 3), root->get_height());
            background->getModifiableImage().full_fill(0xFF000000u | (random() & 0xFFFFFF));
            ASSERT_TRUE(document->applyCommand(new ReplaceBackgroundCommand(background)));
            next.width = background->get_width();
            record(next);
        } else if (choice == 4 || choice == 5) {
            ASSERT_EQ(document->undo(), at > 0);
            at -= at > 0 ? 1 : 0;
        } else {
            ASSERT_EQ(document->redo(), at + 1 < history.size());
            at += at + 1 < history.size() ? 1 : 0;
        }
        const Expected& now = history[at];
        ASSERT_EQ(root->getChildCount(), static_cast<int>(now.order.size())) << "step " << step;
        for (int i = 0; i < root->getChildCount(); ++i)
            ASSERT_EQ(root->getChild(i), now.order[static_cast<std::size_t>(i)]) << "step " << step << " child " << i;
        ASSERT_EQ(document->getSelectedModel(), now.selected != nullptr ? now.selected : root) << "step " << step;
        ASSERT_EQ(root->get_width(), now.width) << "step " << step;
    }
    while (document->redo()) {
    }
    const std::vector<DWORD> last = pixelsOf(*root);
    while (document->undo()) {
    }
    EXPECT_TRUE(pixelsOf(*root) == first);
    EXPECT_FALSE(document->IsModified());
    while (document->redo()) {
    }
    EXPECT_TRUE(pixelsOf(*root) == last);
}
