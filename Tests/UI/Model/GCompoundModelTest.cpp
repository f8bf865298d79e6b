#include "Model/GCompoundModel.h"
#include "Preferences/GlobalColor.h"
#include "UI/Model/TestEffects.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

// A model of noise: random colours, alpha and (unless full) mask bits.
GCompoundModel* noiseModel(std::mt19937& random, int width, int height, bool fullMask) {
    auto* model = new GCompoundModel(width, height);
    GSprite& image = model->getModifiableImage();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            image.set_pixel(x, y, static_cast<DWORD>(random()));
            if (!fullMask)
                image.mask().setBit(x, y, random() % 4 != 0);
        }
    model->invalidate();
    return model;
}

// The tree composed from nothing with the same drawing primitives, without any cache or invalid region.
GSprite reference(GCompoundModel& model) {
    const int width = model.getImage().get_width();
    const int height = model.getImage().get_height();
    GSprite out(width, height);
    const RECT all{0, 0, width, height};
    out.putSprite(all, model.getImage(), POINT{0, 0}, GIPLCompositionMode(-1));
    out.putMask(all, model.getImage(), POINT{0, 0});
    for (int i = 0; i < model.getChildCount(); ++i) {
        GCompoundModel* child = model.getChild(i);
        if (!child->visible())
            continue;
        const GSprite composed = reference(*child);
        out.putSprite(all, composed, child->getOrigin(), child->getCompositionMode());
    }
    return out;
}

void expectSamePixels(GCompoundModel& model, const GSprite& expected) {
    const GSprite& combined = model.getCombinedImage();
    ASSERT_EQ(combined.get_width(), expected.get_width());
    for (int y = 0; y < expected.get_height(); ++y)
        for (int x = 0; x < expected.get_width(); ++x)
            ASSERT_EQ(combined.get_pixel(x, y), expected.get_pixel(x, y)) << x << "," << y;
}

} // namespace

TEST(GCompoundModel, IncrementalCompositionEqualsComposingFromNothing) {
    std::mt19937 random(42);
    std::unique_ptr<GCompoundModel> root(noiseModel(random, 64, 48, true));
    const auto randomPoint = [&] {
        return POINT{static_cast<LONG>(random() % 80) - 16, static_cast<LONG>(random() % 64) - 16};
    };
    for (int step = 0; step < 300; ++step) {
        const int children = root->getChildCount();
        switch (random() % 6) {
        case 0: { // add an object, perhaps with a child of its own
            GCompoundModel* object = noiseModel(random, 4 + random() % 20, 4 + random() % 20, false);
            object->setOrigin(randomPoint());
            object->setCompositionMode(GIPLCompositionMode(static_cast<int>(random() % 2)));
            if (random() % 3 == 0)
                object->addChild(noiseModel(random, 3, 3, false));
            root->addChildAt(children > 0 ? static_cast<int>(random() % (children + 1)) : 0, object);
            break;
        }
        case 1:
            if (children > 0)
                root->getChild(static_cast<int>(random() % children))->setOrigin(randomPoint());
            break;
        case 2:
            if (children > 0) {
                GCompoundModel* child = root->getChild(static_cast<int>(random() % children));
                child->visible(!child->visible());
            }
            break;
        case 3:
            if (children > 0)
                root->removeChildAt(static_cast<int>(random() % children))->destroyThis();
            break;
        case 4:
            if (children > 1)
                root->rearrangeChild(static_cast<int>(random() % children), static_cast<int>(random() % children));
            break;
        default:
            if (children > 0) { // an edit of a grandchild or a child's pixels
                GCompoundModel* child = root->getChild(static_cast<int>(random() % children));
                GCompoundModel* edited = child->getChildCount() > 0 ? child->getChild(0) : child;
                edited->getModifiableImage().set_pixel(0, 0, static_cast<DWORD>(random()));
                edited->invalidate(RECT{0, 0, 1, 1});
            }
            break;
        }
        if (step % 7 == 0 || step > 280) {
            SCOPED_TRACE(step);
            expectSamePixels(*root, reference(*root));
        }
    }
}

TEST(GCompoundModel, CombinedImageIsTheOwnSpriteUntilSomethingIsDrawnOverIt) {
    GCompoundModel root(8, 8);
    EXPECT_EQ(&root.getCombinedImage(), &root.getImage());
    auto* child = new GCompoundModel(2, 2);
    root.addChild(child);
    EXPECT_NE(&root.getCombinedImage(), &root.getImage());
    child->visible(false);
    EXPECT_EQ(&root.getCombinedImage(), &root.getImage());
}

TEST(GCompoundModel, ANewModelIsBlankAndFilledWithTheBackgroundColour) {
    GCompoundModel model(3, 2);
    EXPECT_EQ(model.getCompositionMode(), GIPLCompositionMode(0));
    EXPECT_FALSE(model.baseImageExists());
    EXPECT_EQ(model.getImage().get_pixel(2, 1), GCompoundModel::BackgroundPixel());
    EXPECT_EQ(GCompoundModel::BackgroundPixel(), 0xFF3F3F46u); // COLORREF 0x463F3F as a pixel
    model.getModifiableImage().set_pixel(1, 1, 0xFF000000);
    EXPECT_TRUE(model.baseImageExists());
    EXPECT_TRUE(model.isBackground());
}

TEST(GCompoundModel, TreeOperations) {
    GCompoundModel root(10, 10);
    root.attached(true);
    auto* a = new GCompoundModel(2, 2);
    auto* b = new GCompoundModel(2, 2);
    root.addChild(a);
    root.addChild(b);
    EXPECT_EQ(a->getName(), "Layer"); // attached without a name
    EXPECT_EQ(root.getName(), "");    // the root keeps none
    EXPECT_TRUE(b->attached());
    root.rearrangeChild(1, 1);
    EXPECT_EQ(root.getChild(1), b);
    a->bringToTop();
    EXPECT_EQ(root.getChild(1), a);
    root.bringToTop(); // no parent: nothing
    EXPECT_EQ(a->getIndexInParent(), 1);
    EXPECT_EQ(root.removeChildAt(5), nullptr);
    GCompoundModel* taken = root.removeChild(b);
    ASSERT_EQ(taken, b);
    EXPECT_FALSE(b->attached());
    EXPECT_EQ(b->getParent(), nullptr);
    delete b;

    a->setOrigin(POINT{3, 4});
    auto* grandchild = new GCompoundModel(1, 1);
    grandchild->setOrigin(POINT{1, 1});
    a->addChild(grandchild);
    EXPECT_EQ(grandchild->getGlobalOrigin(GCompoundModel::WithoutEffects).x, 4);
    EXPECT_EQ(grandchild->getRoot(), &root);

    GCompoundModel copy(root); // deep
    ASSERT_EQ(copy.getChildCount(), 1);
    EXPECT_NE(copy.getChild(0), a);
    EXPECT_EQ(copy.getChild(0)->getParent(), &copy);
    EXPECT_EQ(copy.getChild(0)->getChild(0)->getOrigin().y, 1);
}

TEST(GCompoundModel, HitTestingPrefersTheTopAndSkipsTheInvisibleAndTransparent) {
    GCompoundModel root(10, 10);
    auto* low = new GCompoundModel(4, 4);
    auto* high = new GCompoundModel(4, 4);
    high->setOrigin(POINT{2, 2});
    root.addChild(low);
    root.addChild(high);
    EXPECT_EQ(root.findImageUnderCursor(GPoint(3, 3)), high);
    EXPECT_EQ(root.findImageUnderCursor(GPoint(1, 1)), low);
    EXPECT_EQ(root.findImageUnderCursor(GPoint(8, 8)), &root);
    high->getModifiableImage().set_pixel(1, 1, 0x00FFFFFF); // transparent at (3, 3)
    EXPECT_EQ(root.findImageUnderCursor(GPoint(3, 3)), low);
    low->getModifiableImage().mask().setBit(3, 3, false); // masked out
    EXPECT_EQ(root.findImageUnderCursor(GPoint(3, 3)), &root);
    high->visible(false);
    EXPECT_EQ(root.findImageUnderCursor(GPoint(4, 4)), &root);
    root.visible(false);
    EXPECT_EQ(root.findImageUnderCursor(GPoint(1, 1)), nullptr);
}

TEST(GCompoundModel, AliasNameBuildsAModel) {
    GRTTIObject* made = GMetaClass::BuildByName("GCompoundImage");
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made->cast_to_(typeid(GCompoundModel)), nullptr);
    GCompoundModel::metaclass_.destroyObject(made);
}

TEST(GCompoundModel, TheGlowIsABlurredHaloOfTheGlowColour) {
    GCompoundModel::SoftGlowBorder() = 3;
    GCompoundModel::SoftGlowColor().setColor(0x00FF00); // COLORREF green
    GCompoundModel dot(1, 1);
    dot.getModifiableImage().set_pixel(0, 0, 0xFF000000);
    const GSprite& glow = dot.softGlowImage();
    ASSERT_EQ(glow.get_width(), 7);
    // One opaque pixel spread over a 3 x 3 box: alpha 255 / 9, rounded, 28; the colour premultiplied by it.
    EXPECT_EQ(glow.get_pixel(2, 2), 0x1C001C00u);
    EXPECT_EQ(glow.get_pixel(4, 4), 0x1C001C00u);
    EXPECT_EQ(glow.get_pixel(1, 3), 0x00000000u);
    int halo = 0;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            halo += glow.mask().getBit(x, y) ? 1 : 0;
    EXPECT_EQ(halo, 8); // the box less the dot itself
    EXPECT_FALSE(glow.mask().getBit(3, 3));
    EXPECT_EQ(&dot.softGlowImage(), &glow); // kept until the model changes
    dot.invalidate();
    EXPECT_EQ(dot.softGlowImage().get_width(), 7); // made again
}

TEST(GCompoundModel, APixelWhoseMaskBitComesBackIsComposedAgain) {
    GCompoundModel root(4, 4);
    root.addChild(new GCompoundModel(1, 1)); // so that the root composes into its cache
    root.getModifiableImage().mask().setBit(1, 1, false);
    root.invalidate();
    root.getCombinedImage();
    GSprite& image = root.getModifiableImage();
    image.mask().setBit(1, 1, true);
    image.set_pixel(1, 1, 0xFF102030);
    root.invalidate(RECT{1, 1, 2, 2});
    EXPECT_EQ(root.getCombinedImage().get_pixel(1, 1), 0xFF102030u);
    EXPECT_TRUE(root.getCombinedImage().mask().getBit(1, 1));
}

TEST(GCompoundModel, AChildsShadowLandsUnderItWhenTheParentsEffectEnlargesTheParent) {
    GCompoundModel root(20, 20);
    root.getModifiableImage().full_fill(0xFF0000FF);
    root.addEffect(new GrowingEffect(4, 0xFF00FF00)); // the cache starts at (-4, -4)
    auto* child = new GCompoundModel(3, 3);
    child->getModifiableImage().full_fill(0xFFFF0000);
    child->addEffect(new ShadowEffect(2, 0xFF000000));
    child->setOrigin(POINT{10, 10});
    root.addChild(child);
    const GSprite& combined = root.getCombinedImage();
    ASSERT_EQ(combined.get_width(), 28);
    // In the cache: the margin at 0..3, the child at 14..16, its shadow at 16..18 under it.
    EXPECT_EQ(combined.get_pixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(combined.get_pixel(15, 15), 0xFFFF0000u);
    EXPECT_EQ(combined.get_pixel(18, 18), 0xFF000000u);
    EXPECT_EQ(combined.get_pixel(12, 12), 0xFF0000FFu);
    EXPECT_EQ(combined.get_pixel(19, 19), 0xFF0000FFu);
}
