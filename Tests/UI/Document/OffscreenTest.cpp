// The off-screen buffer: redrawn only where the scene changed, it equals a whole redraw; the selection's glow is
// hidden under the objects above the selection.

#include "Commands/SelectImageCommand.h"
#include "UI/Document/DocumentTesting.h"

#include <random>

namespace {

std::vector<DWORD> bufferPixels(GKorvaneDoc& document) {
    document.validateOffscreen(document.getModel()->getCombinedImage());
    GDIBImage& bitmap = document.getOffscreen().bitmap();
    std::vector<DWORD> pixels;
    for (int y = 0; y < bitmap.get_height(); ++y)
        pixels.insert(pixels.end(), bitmap.get_line_address(y), bitmap.get_line_address(y) + bitmap.get_width());
    return pixels;
}

std::vector<DWORD> wholeRedraw(GKorvaneDoc& document) {
    GCompoundModel* root = document.getModel();
    document.modelInvalidated(root, RECT{0, 0, root->get_width(), root->get_height()});
    return bufferPixels(document);
}

} // namespace

TEST_F(DocumentTest, TheBufferRedrawnWhereItChangedEqualsAWholeRedraw) {
    std::mt19937 random(5);
    bufferPixels(*document);
    GCompoundModel* root = document->getModel();
    for (int step = 0; step < 60; ++step) {
        const int choice = static_cast<int>(random() % 4);
        const int count = root->getChildCount();
        // Only models in the scene are touched: an undone add's object goes when the redo stack is cleared.
        GCompoundModel* model = count > 0 ? root->getChild(static_cast<int>(random() % count)) : nullptr;
        if (choice == 0 || model == nullptr) {
            addObject(10 + static_cast<int>(random() % 60), 10 + static_cast<int>(random() % 60),
                      {static_cast<LONG>(random() % 520), static_cast<LONG>(random() % 400)},
                      0xC0000000u | (random() & 0xFFFFFF));
        } else if (choice == 1) {
            const GPoint& origin = model->getOrigin();
            model->setOrigin(POINT{origin.x + static_cast<LONG>(random() % 21) - 10,
                                   origin.y + static_cast<LONG>(random() % 21) - 10});
        } else if (choice == 2) {
            document->applyCommand(new SelectImageCommand(model, random() % 2 == 0));
        } else {
            document->undo();
        }
        const std::vector<DWORD> incremental = bufferPixels(*document);
        ASSERT_TRUE(incremental == wholeRedraw(*document)) << "step " << step;
    }
}

TEST_F(DocumentTest, TheGlowIsHiddenUnderObjectsAboveTheSelection) {
    GCompoundModel* selected = addObject(40, 40, {100, 100}, 0xFFFF0000);
    addObject(40, 40, {135, 100}, 0xFF0000FF); // above it, over its right edge and the glow there
    document->setSelectedModel(selected);
    const std::vector<DWORD> pixels = bufferPixels(*document);
    const int width = document->getModel()->get_width();
    auto at = [&](int x, int y) {
        return pixels[static_cast<std::size_t>(y * width + x)];
    };
    const DWORD background = GCompoundModel::BackgroundPixel();
    EXPECT_NE(at(98, 120), background);   // the glow left of the selection
    EXPECT_EQ(at(141, 120), 0xFF0000FFu); // under the object above: no glow
    // With the other object below the selection, its pixels take the glow.
    document->applyCommand(new SelectImageCommand(selected, true));
    EXPECT_NE(bufferPixels(*document)[static_cast<std::size_t>(120 * width + 141)], 0xFF0000FFu);
}

static bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(PrintLayout, TheSceneFillsThePageOneWayAndIsCentredTheOther) {
    // A wide picture fills the width; a tall one the height; a small one is enlarged.
    EXPECT_EQ(GKorvaneDoc::PrintRect({100, 50}, {96, 96}, {0, 0, 4800, 6000}, {600, 600}), (RECT{0, 1800, 4800, 4200}));
    EXPECT_EQ(GKorvaneDoc::PrintRect({50, 100}, {96, 96}, {0, 0, 6000, 4800}, {600, 600}), (RECT{1800, 0, 4200, 4800}));
    EXPECT_EQ(GKorvaneDoc::PrintRect({10, 10}, {96, 96}, {100, 200, 300, 600}, {300, 300}), (RECT{100, 300, 300, 500}));
    // Proportions count in inches: a printer with wider pixels gets fewer of them across.
    EXPECT_EQ(GKorvaneDoc::PrintRect({100, 100}, {96, 96}, {0, 0, 1000, 1000}, {300, 600}), (RECT{250, 0, 750, 1000}));
    // Nothing to place: an empty rectangle at the page's corner.
    EXPECT_EQ(GKorvaneDoc::PrintRect({0, 10}, {96, 96}, {5, 6, 100, 100}, {300, 300}), (RECT{5, 6, 5, 6}));
}

TEST(PrintLayout, ABlankBackgroundPrintsWhiteAndADrawnOneAsItIs) {
    GCompoundModel blank(4, 3);
    auto* object = new GCompoundModel(1, 1);
    object->getModifiableImage().full_fill(0xFF102030);
    blank.addChild(object);
    const GSprite printed = GKorvaneDoc::PrintableImage(blank);
    EXPECT_EQ(printed.get_pixel(3, 2), 0xFFFFFFFFu);
    EXPECT_EQ(printed.get_pixel(0, 0), 0xFF102030u);
    GCompoundModel drawn(2, 2);
    drawn.getModifiableImage().full_fill(0xFF405060);
    EXPECT_EQ(GKorvaneDoc::PrintableImage(drawn).get_pixel(1, 1), 0xFF405060u);
}
