#include "Classes/GClassBoilerplate.h"
#include "Model/GCompoundModel.h"
#include "Model/GImageEffectsSwitcher.h"
#include "Streams/mpstream.h"
#include "UI/Model/TestEffects.h"

#include <gtest/gtest.h>

namespace {

// An effect that counts the times it is told its model changed.
class GCountingEffect : public GImageEffect {
    G_CLASS(GCountingEffect)
    void modelModified() override { ++told; }
    int told = 0;
};

G_IMPLEMENT_CLASS(GCountingEffect, GImageEffect)

} // namespace

TEST(GImageEffect, StatesAndTheirNotices) {
    GCountingEffect effect;
    effect.setState(GImageEffect::StateOff);
    EXPECT_EQ(effect.told, 1);
    effect.setState(GImageEffect::StateSuspended); // off to off: nothing to tell
    EXPECT_EQ(effect.told, 1);
    effect.setState(GImageEffect::StateOn);
    EXPECT_EQ(effect.told, 2);
}

TEST(GImageEffect, ASuspendedEffectIsStoredAsOn) {
    GImageEffect suspended;
    suspended.setState(GImageEffect::StateSuspended);
    GImageEffect off;
    off.setState(GImageEffect::StateOff);
    mpstream stream;
    stream.writePointer(&suspended);
    stream.writePointer(&off);
    stream.seekg(0, GIO::FromBegin);
    auto* first = stream.readPointer<GImageEffect>();
    auto* second = stream.readPointer<GImageEffect>();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first->isOn());
    EXPECT_EQ(second->getState(), GImageEffect::StateOff);
    first->destroyThis();
    second->destroyThis();
}

TEST(GImageEffectsSwitcher, SuspendsAndRestoresByPosition) {
    GCompoundModel model(4, 4);
    auto* on = new GCountingEffect;
    auto* off = new GCountingEffect;
    off->setState(GImageEffect::StateOff);
    model.addEffect(on);
    model.addEffect(off);
    EXPECT_EQ(model.findEffectByClass(&GCountingEffect::metaclass_), on);
    GImageEffectsSwitcher switcher(&model);
    switcher.removeEffects();
    switcher.removeEffects(); // twice: the states saved the first time stay
    EXPECT_EQ(on->getState(), GImageEffect::StateSuspended);
    switcher.restoreEffects();
    EXPECT_EQ(on->getState(), GImageEffect::StateOn);
    EXPECT_EQ(off->getState(), GImageEffect::StateOff);
    EXPECT_EQ(model.removeEffectAt(7), nullptr);
    GImageEffect* removed = model.removeEffect(off);
    EXPECT_EQ(removed->getModel(), nullptr);
    removed->destroyThis();
}

TEST(GImageEffectsSwitcher, AModelWithChildrenComposesWithoutItsSuspendedEffects) {
    GCompoundModel model(6, 6);
    model.getModifiableImage().full_fill(0xFF0000FF);
    model.addEffect(new GrowingEffect(2, 0xFF00FF00));
    model.addChild(new GCompoundModel(1, 1)); // the model composes into its cache
    ASSERT_EQ(model.getCombinedImage().get_width(), 10);
    GImageEffectsSwitcher switcher(&model);
    switcher.removeEffects();
    ASSERT_EQ(model.getCombinedImage().get_width(), 6);
    EXPECT_EQ(model.getCombinedImage().get_pixel(5, 5), 0xFF0000FFu);
    switcher.restoreEffects();
    ASSERT_EQ(model.getCombinedImage().get_width(), 10);
    EXPECT_EQ(model.getCombinedImage().get_pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(model.getCombinedImage().get_pixel(7, 7), 0xFF0000FFu);
}
