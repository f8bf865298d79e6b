#include "win/Keyboard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The name GetKeyNameTextA gives a virtual key, with the E0 flag where the key has it.
std::string keyName(UINT vk, bool eitherSide = false) {
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    const LONG lParam =
        static_cast<LONG>(scan << 16 | (IsExtendedKey(vk) ? 1u << 24 : 0) | (eitherSide ? 1u << 25 : 0));
    char name[32];
    GetKeyNameTextA(lParam, name, sizeof name);
    return name;
}

std::string scanName(UINT scan, bool extended) {
    char name[32];
    GetKeyNameTextA(static_cast<LONG>(scan << 16 | (extended ? 1u << 24 : 0)), name, sizeof name);
    return name;
}

} // namespace

TEST(Keyboard, KeyNamesAsAUsLayoutGivesThem) {
    const std::pair<UINT, const char*> table[] = {
        {'A', "A"},
        {'7', "7"},
        {VK_F1, "F1"},
        {VK_F1 + 10, "F11"},
        {VK_F1 + 12, "F13"},
        {VK_OEM_1, ";"},
        {VK_OEM_5, "\\"},
        {VK_OEM_3, "`"},
        {VK_ESCAPE, "Esc"},
        {VK_CONTROL, "Ctrl"},
        {VK_RCONTROL, "Right Ctrl"},
        {VK_DELETE, "Delete"},
        {VK_NEXT, "Page Down"},
        {VK_LEFT, "Left"},
        {VK_NUMPAD0, "Num 0"},
        {VK_ADD, "Num +"},
        {VK_DIVIDE, "Num /"},
        {VK_SPACE, "Space"},
        {VK_APPS, "Application"},
        {VK_SNAPSHOT, "Prnt Scrn"},
        {VK_RSHIFT, "Right Shift"},
    };
    for (const auto& [vk, name] : table)
        EXPECT_EQ(keyName(vk), name) << vk;
    // Without the E0 flag the block keys are the keypad's; "either side" names the right modifiers as the left.
    EXPECT_EQ(scanName(0x53, false), "Num Del");
    EXPECT_EQ(scanName(0x52, false), "Num 0");
    EXPECT_EQ(keyName(VK_RCONTROL, true), "Ctrl");
    EXPECT_EQ(keyName(VK_RSHIFT, true), "Shift");
    EXPECT_EQ(scanName(0x7F, false), "F16");
    EXPECT_EQ(scanName(0x6F, false), "");

    char cut[3];
    EXPECT_EQ(GetKeyNameTextA(static_cast<LONG>(0x53u << 16 | 1u << 24), cut, sizeof cut), 2);
    EXPECT_STREQ(cut, "De");
}

TEST(Keyboard, MapVirtualKeyBothWaysAndToCharacters) {
    EXPECT_EQ(MapVirtualKeyA(0x1E, MAPVK_VSC_TO_VK), UINT{'A'});
    EXPECT_EQ(MapVirtualKeyA(0x3B, MAPVK_VSC_TO_VK), VK_F1);
    EXPECT_EQ(MapVirtualKeyA(0x1D, MAPVK_VSC_TO_VK), VK_CONTROL);
    EXPECT_EQ(MapVirtualKeyA(0x52, MAPVK_VSC_TO_VK), VK_INSERT);
    for (UINT vk = 'A'; vk <= 'Z'; ++vk)
        EXPECT_EQ(MapVirtualKeyA(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC), MAPVK_VSC_TO_VK), vk);
    EXPECT_EQ(MapVirtualKeyA('Q', MAPVK_VK_TO_CHAR), UINT{'Q'});
    EXPECT_EQ(MapVirtualKeyA(VK_OEM_2, MAPVK_VK_TO_CHAR), UINT{'/'});
    EXPECT_EQ(MapVirtualKeyA(VK_F1, MAPVK_VK_TO_CHAR), 0u);
    EXPECT_EQ(MapVirtualKeyA(VK_DELETE, MAPVK_VK_TO_CHAR), 0u);
}
