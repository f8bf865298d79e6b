#include "Classes/GClassBoilerplate.h"
#include "Preferences/GPreferencesList.h"
#include "Preferences/GlobalColor.h"

#include <gtest/gtest.h>

namespace {

// A preference of the tests: one number, counted reads and writes.
class GCounterPreference : public GPreference {
    G_CLASS(GCounterPreference)
    void readValues() override {
        value = ReadPrefInt("Test Preferences", "Counter", 5);
        ++reads;
    }
    void writeValues() override { WritePrefInt("Test Preferences", "Counter", value); }

    DWORD value = 0;
    int reads = 0;
};

G_IMPLEMENT_CLASS(GCounterPreference, GPreference)

} // namespace

TEST(GlobalColor, StoresAColourAndGivesItAsAPixel) {
    GlobalColor background("TestBackground", 0x463F3F);
    EXPECT_EQ(background.getColor(), 0x463F3Fu);
    EXPECT_EQ(background.getPixel(), 0xFF3F3F46u);
    background.setColor(0x030201);
    GlobalColor again("TestBackground", 0x463F3F);
    EXPECT_EQ(again.getColor(), 0x030201u);
}

TEST(GPreference, ValuesRoundTripThroughTheRegistry) {
    EXPECT_EQ(GPreference::ReadPrefInt(nullptr, "TestNumber", 7), 7u);
    GPreference::WritePrefInt(nullptr, "TestNumber", 9);
    EXPECT_EQ(GPreference::ReadPrefInt(nullptr, "TestNumber", 7), 9u);
    GPreference::WritePrefString("Test Section", "Name", "value");
    EXPECT_EQ(GPreference::ReadPrefString("Test Section", "Name", "none"), "value");
    EXPECT_EQ(GPreference::ReadPrefString("Test Section", "Missing", "none"), "none");
    std::vector<BYTE> bytes;
    EXPECT_FALSE(GPreference::ReadPrefBinary("Keyboard Shortcuts", "GTestContext", bytes));
    const BYTE codes[] = {0x41, 0x02, 0x42, 0x06};
    GPreference::WritePrefBinary("Keyboard Shortcuts", "GTestContext", codes, sizeof codes);
    ASSERT_TRUE(GPreference::ReadPrefBinary("Keyboard Shortcuts", "GTestContext", bytes));
    EXPECT_EQ(bytes, std::vector<BYTE>(codes, codes + 4));
}

TEST(GPreferencesList, HoldsOneOfEveryKindAndLoadsAndSavesThem) {
    GPreferencesList list(true);
    ASSERT_EQ(list.getCount(), 1);
    auto* counter = static_cast<GCounterPreference*>(list.at(0)->cast_to_(typeid(GCounterPreference)));
    ASSERT_NE(counter, nullptr);
    list.load();
    EXPECT_EQ(counter->value, 5u);
    counter->value = 12;
    list.save();
    GPreferencesList other(true);
    other.load();
    EXPECT_EQ(static_cast<GCounterPreference*>(other.at(0))->value, 12u);
    EXPECT_EQ(GPreferencesList(false).getCount(), 0);
}
