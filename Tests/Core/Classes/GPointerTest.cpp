#include "Classes/GPointer.h"

#include "Classes/GObject.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class GTestNode : public GObject {
    G_CLASS(GTestNode)
    int value = 7;
};

// A typed pointer that counts the deaths it was told of.
class CountingPointer : public TGPointer<GTestNode> {
public:
    using TGPointer::TGPointer;
    void object_destroyed() override {
        ++deaths;
        TGPointer::object_destroyed();
    }
    int deaths = 0;
};

} // namespace

G_IMPLEMENT_CLASS(GTestNode, GObject)

TEST(GPointer, BecomesNullWhenTheObjectDies) {
    auto node = std::make_unique<GTestNode>();
    auto other = std::make_unique<GTestNode>();
    TGPointer<GTestNode> typed(node.get());
    GPointer copy(typed);
    GPointer elsewhere(other.get());
    EXPECT_TRUE(static_cast<bool>(typed));
    EXPECT_EQ(typed->value, 7);

    node.reset();
    EXPECT_TRUE(!typed);
    EXPECT_EQ(typed.get(), nullptr);
    EXPECT_EQ(copy.getObject(), nullptr);
    EXPECT_EQ(elsewhere.getObject(), other.get());
}

TEST(GPointer, APointerThatDiesFirstLeavesNoTrace) {
    auto node = std::make_unique<GTestNode>();
    {
        GPointer a(node.get());
        GPointer b(node.get());
        GPointer c(node.get());
    }
    auto* inList = new GPointer(node.get());
    GPointer survivor(node.get());
    delete inList;
    node.reset(); // walks the list: the destroyed pointers must be gone from it
    EXPECT_EQ(survivor.getObject(), nullptr);
}

TEST(GPointer, AssignmentAndTypedHooks) {
    auto first = std::make_unique<GTestNode>();
    auto second = std::make_unique<GTestNode>();
    CountingPointer watcher(first.get());
    watcher = second.get();
    first.reset();
    EXPECT_EQ(watcher.deaths, 0);
    EXPECT_EQ(watcher.get(), second.get());
    GPointer plain;
    EXPECT_TRUE(!plain);
    plain = watcher;
    second.reset();
    EXPECT_EQ(watcher.deaths, 1);
    EXPECT_EQ(plain.getObject(), nullptr);
}
