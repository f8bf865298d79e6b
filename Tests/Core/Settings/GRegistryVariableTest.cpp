#include "Files/GDynamicLinkLibrary.h"
#include "Settings/GRegistryBinary.h"
#include "Settings/GRegistryDWord.h"
#include "Settings/GRegistryDouble.h"
#include "Settings/GRegistryString.h"
#include "Support/TempDirectory.h"
#include "win/Modules.h"
#include "win/RegistryStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Each test has a store of its own, and the application's settings in a section "Settings".
class GRegistryVariableTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("KORVANE_REGISTRY", (folder.path() / "store.reg").c_str(), 1);
        RegistryStore::Instance().reset();
        GRegistryVariable::AppSettingsSection = "Settings";
    }
    void TearDown() override {
        GRegistryVariable::AppSettingsSection = "";
        GRegistryVariable::SetAppRegistryKeyProvider(nullptr);
        RegistryStore::Instance().reset();
    }

    // The value as the registry holds it: its type and bytes.
    static std::string stored(const char* section, const char* name, DWORD& type) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, section, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "(no key)";
        char data[64] = {};
        DWORD size = sizeof data;
        const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(data, size) : "(no value)";
    }

    TempDirectory folder;
};

} // namespace

TEST_F(GRegistryVariableTest, NumbersReadTheirDefaultUntilAssigned) {
    GRegistryDWord number(HKEY_CURRENT_USER, "Software\\Test", "Number", 5);
    EXPECT_EQ(static_cast<DWORD>(number), 5u);
    number = 7;
    EXPECT_EQ(static_cast<DWORD>(number), 7u);
    DWORD type = 0;
    EXPECT_EQ(stored("Software\\Test", "Number", type), std::string("\x07\0\0\0", 4));
    EXPECT_EQ(type, REG_DWORD);

    GRegistryDWord later(HKEY_CURRENT_USER, "Software\\Test", "Number", 1); // another variable reads the store
    EXPECT_EQ(static_cast<DWORD>(later), 7u);
    char two[2];
    EXPECT_FALSE(later.getValue(two, 2));

    number.removeValue();
    GRegistryDWord removed(HKEY_CURRENT_USER, "Software\\Test", "Number", 3);
    EXPECT_EQ(static_cast<DWORD>(removed), 3u);
}

TEST_F(GRegistryVariableTest, AValueOfAnotherTypeOrSizeIsIgnored) {
    GRegistryString text(HKEY_CURRENT_USER, "Software\\Test", "Mixed", "words");
    text = "not a number";
    GRegistryDWord number(HKEY_CURRENT_USER, "Software\\Test", "Mixed", 5);
    EXPECT_EQ(static_cast<DWORD>(number), 5u);
    EXPECT_FALSE(number.validateCache());

    // A hand-edited hex:00 where a double belongs, and a REG_DWORD of two bytes.
    GRegistryBinary oneByte(HKEY_CURRENT_USER, "Software\\Test", "Ratio");
    const BYTE zero = 0;
    oneByte.setValue(&zero, 1);
    GRegistryDouble ratio(HKEY_CURRENT_USER, "Software\\Test", "Ratio", 2.5);
    EXPECT_EQ(static_cast<double>(ratio), 2.5);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const BYTE two[2] = {1, 1};
    RegSetValueExA(key, "Short", 0, REG_DWORD, two, sizeof two);
    RegCloseKey(key);
    GRegistryDWord shortNumber(HKEY_CURRENT_USER, "Software\\Test", "Short", 9);
    EXPECT_EQ(static_cast<DWORD>(shortNumber), 9u);
}

// The cache copies from the data before it lets its old block go: the data may be its own.
TEST_F(GRegistryVariableTest, AValueAssignedFromItsOwnBytes) {
    GRegistryString text(HKEY_CURRENT_USER, "Software\\Test", "Self", "x");
    const char* longer = "a text well beyond the four bytes held inline and beyond one heap chunk's links";
    text = longer;
    text = static_cast<const char*>(text);
    EXPECT_STREQ(static_cast<const char*>(text), longer);
    GRegistryString stored(HKEY_CURRENT_USER, "Software\\Test", "Self", "");
    EXPECT_STREQ(static_cast<const char*>(stored), longer);

    GRegistryBinary block(HKEY_CURRENT_USER, "Software\\Test", "Block");
    const BYTE bytes[7] = {1, 2, 3, 4, 5, 6, 7};
    block.setValue(bytes, sizeof bytes);
    block.setValue(block.getValue(), 3); // from the heap block into the inline bytes
    ASSERT_EQ(block.getValueSize(), 3u);
    EXPECT_EQ(std::memcmp(block.getValue(), bytes, 3), 0);
}

TEST_F(GRegistryVariableTest, TextsDoublesAndBlocks) {
    GRegistryString text(HKEY_CURRENT_USER, "Software\\Test", "Text", nullptr);
    EXPECT_STREQ(static_cast<const char*>(text), "");
    text = nullptr;
    DWORD type = 0;
    EXPECT_EQ(stored("Software\\Test", "Text", type), std::string(1, '\0'));
    EXPECT_EQ(type, REG_SZ);
    text = "Korvane";
    GRegistryString again(HKEY_CURRENT_USER, "Software\\Test", "Text", "default");
    EXPECT_STREQ(static_cast<const char*>(again), "Korvane");

    GRegistryDouble ratio(HKEY_CURRENT_USER, "Software\\Test", "Ratio", 1.5);
    EXPECT_EQ(static_cast<double>(ratio), 1.5);
    ratio = -0.25;
    GRegistryDouble read(HKEY_CURRENT_USER, "Software\\Test", "Ratio", 0);
    EXPECT_EQ(static_cast<double>(read), -0.25);

    GRegistryBinary block(HKEY_CURRENT_USER, "Software\\Test", "Block");
    const BYTE bytes[7] = {1, 2, 3, 4, 5, 6, 7};
    block.setDefaultValue(bytes, 3);
    EXPECT_EQ(block.getValueSize(), 3u);
    EXPECT_TRUE(block.setValue(bytes, sizeof bytes));
    GRegistryBinary back(HKEY_CURRENT_USER, "Software\\Test", "Block");
    ASSERT_EQ(back.getValueSize(), 7u);
    EXPECT_EQ(std::memcmp(back.getValue(), bytes, 7), 0);
}

TEST_F(GRegistryVariableTest, ApplicationSettingsLandInTheApplicationsSection) {
    GRegistryDWord setting(nullptr, "", "Zoom", 100);
    setting = 200;
    DWORD type = 0;
    EXPECT_EQ(stored("Software\\Orvelcraft\\Korvane\\Settings", "Zoom", type), std::string("\xC8\0\0\0", 4));

    GRegistryVariable::SetAppRegistryKeyProvider([]() -> HKEY {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Other", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    });
    GRegistryDWord elsewhere(nullptr, "Own", "Zoom", 100);
    elsewhere = 300;
    EXPECT_EQ(stored("Software\\Other\\Own", "Zoom", type), std::string("\x2C\x01\0\0", 4));
}

TEST_F(GRegistryVariableTest, AStaticSettingInAModuleHasItsDefaultBeforeAnyStore) {
    const auto store = folder.path() / "not-yet" / "store.reg";
    setenv("KORVANE_REGISTRY", store.c_str(), 1);
    RegistryStore::Instance().reset();
    GDynamicLinkLibrary module(SETTING_MODULE);
    ASSERT_TRUE(module.loaded());
    EXPECT_FALSE(std::filesystem::exists(store)); // loading touched no store
    const auto value = reinterpret_cast<DWORD (*)()>(GetProcAddress(module.handle(), "ModuleSettingValue"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value(), 42u);
}
