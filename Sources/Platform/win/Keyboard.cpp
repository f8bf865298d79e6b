#include "win/Keyboard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct KeyName {
    UINT scan;
    const char* name;
};

// The layout's names of keys that do not name themselves by their character.
constexpr KeyName PlainNames[] = {
    {0x01, "Esc"},       {0x0E, "Backspace"},   {0x0F, "Tab"},         {0x1C, "Enter"}, {0x1D, "Ctrl"},
    {0x2A, "Shift"},     {0x36, "Right Shift"}, {0x37, "Num *"},       {0x38, "Alt"},   {0x39, "Space"},
    {0x3A, "Caps Lock"}, {0x45, "Pause"},       {0x46, "Scroll Lock"}, {0x47, "Num 7"}, {0x48, "Num 8"},
    {0x49, "Num 9"},     {0x4A, "Num -"},       {0x4B, "Num 4"},       {0x4C, "Num 5"}, {0x4D, "Num 6"},
    {0x4E, "Num +"},     {0x4F, "Num 1"},       {0x50, "Num 2"},       {0x51, "Num 3"}, {0x52, "Num 0"},
    {0x53, "Num Del"},   {0x54, "Sys Req"},     {0x57, "F11"},         {0x58, "F12"},
};

constexpr KeyName ExtendedNames[] = {
    {0x1C, "Num Enter"}, {0x1D, "Right Ctrl"},   {0x35, "Num /"},         {0x37, "Prnt Scrn"},
    {0x38, "Right Alt"}, {0x45, "Num Lock"},     {0x46, "Break"},         {0x47, "Home"},
    {0x48, "Up"},        {0x49, "Page Up"},      {0x4B, "Left"},          {0x4D, "Right"},
    {0x4F, "End"},       {0x50, "Down"},         {0x51, "Page Down"},     {0x52, "Insert"},
    {0x53, "Delete"},    {0x5B, "Left Windows"}, {0x5C, "Right Windows"}, {0x5D, "Application"},
};

// Scan codes 0x02 to 0x35 of the character keys, by their unshifted character ('\0' where the key has none).
constexpr char CharacterKeys[] = "\0\0"
                                 "1234567890-=\0\0"
                                 "QWERTYUIOP[]\0\0"
                                 "ASDFGHJKL;'`\0\\"
                                 "ZXCVBNM,./";

struct KeyScan {
    UINT vk;
    UINT scan;
};

constexpr KeyScan VirtualKeyScans[] = {
    {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x13, 0x45}, {0x14, 0x3A},
    {0x1B, 0x01}, {0x20, 0x39}, {0x21, 0x49}, {0x22, 0x51}, {0x23, 0x4F}, {0x24, 0x47}, {0x25, 0x4B}, {0x26, 0x48},
    {0x27, 0x4D}, {0x28, 0x50}, {0x2C, 0x37}, {0x2D, 0x52}, {0x2E, 0x53}, {0x5B, 0x5B}, {0x5C, 0x5C}, {0x5D, 0x5D},
    {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C}, {0x66, 0x4D}, {0x67, 0x47},
    {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37}, {0x6B, 0x4E}, {0x6D, 0x4A}, {0x6E, 0x53}, {0x6F, 0x35}, {0x90, 0x45},
    {0x91, 0x46}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x1D}, {0xA4, 0x38}, {0xA5, 0x38}, {0xBA, 0x27},
    {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C}, {0xBE, 0x34}, {0xBF, 0x35}, {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B},
    {0xDD, 0x1B}, {0xDE, 0x28},
};

constexpr UINT ExtendedKeys[] = {VK_PRIOR,    VK_NEXT,  VK_END,    VK_HOME,   VK_LEFT,   VK_UP,
                                 VK_RIGHT,    VK_DOWN,  VK_INSERT, VK_DELETE, VK_DIVIDE, VK_NUMLOCK,
                                 VK_RCONTROL, VK_RMENU, VK_LWIN,   VK_RWIN,   VK_APPS,   VK_SNAPSHOT};

// The scan code of a character key, of a function key, or from the table.
UINT scanOf(UINT vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        const char* at =
            static_cast<const char*>(std::memchr(CharacterKeys, static_cast<int>(vk), sizeof CharacterKeys));
        return at != nullptr ? static_cast<UINT>(at - CharacterKeys) : 0;
    }
    if (vk >= VK_F1 && vk <= VK_F1 + 9)
        return 0x3B + (vk - VK_F1);
    if (vk == VK_F1 + 10 || vk == VK_F1 + 11)
        return 0x57 + (vk - VK_F1 - 10);
    if (vk >= VK_F1 + 12 && vk <= VK_F24)
        return 0x7C + (vk - VK_F1 - 12);
    for (const KeyScan& entry : VirtualKeyScans)
        if (entry.vk == vk)
            return entry.scan;
    return 0;
}

UINT keyOf(UINT scan) {
    if (scan < sizeof CharacterKeys && CharacterKeys[scan] != '\0') {
        const char c = CharacterKeys[scan];
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
            return static_cast<UINT>(c);
    }
    for (UINT vk = VK_F1; vk <= VK_F24; ++vk)
        if (scanOf(vk) == scan)
            return vk;
    for (const KeyScan& entry : VirtualKeyScans) // the first listed wins: the main keys before the keypad's
        if (entry.scan == scan && (entry.vk < VK_NUMPAD0 || entry.vk > VK_DIVIDE))
            return entry.vk;
    return 0;
}

template <std::size_t N>
const char* lookUp(const KeyName (&table)[N], UINT scan) {
    for (const KeyName& entry : table)
        if (entry.scan == scan)
            return entry.name;
    return nullptr;
}

// A key's name: from the layout's tables, else the character it makes, else the function key's number.
std::string nameOf(UINT scan, bool extended) {
    if (const char* name = extended ? lookUp(ExtendedNames, scan) : lookUp(PlainNames, scan))
        return name;
    if (extended)
        return {};
    if (scan < sizeof CharacterKeys - 1 && CharacterKeys[scan] != '\0')
        return std::string(1, CharacterKeys[scan]);
    char function[4] = {};
    if (scan >= 0x3B && scan <= 0x44)
        std::snprintf(function, sizeof function, "F%u", scan - 0x3B + 1);
    else if (scan >= 0x7C && scan <= 0x87)
        std::snprintf(function, sizeof function, "F%u", scan - 0x7C + 13);
    return function;
}

} // namespace

UINT MapVirtualKeyA(UINT code, UINT mapType) {
    switch (mapType) {
    case MAPVK_VK_TO_VSC:
        return scanOf(code);
    case MAPVK_VSC_TO_VK:
        return keyOf(code);
    case MAPVK_VK_TO_CHAR: {
        const UINT scan = scanOf(code);
        const bool character = scan < sizeof CharacterKeys - 1 && CharacterKeys[scan] != '\0' && !IsExtendedKey(code) &&
                               (code < VK_NUMPAD0 || code > VK_DIVIDE);
        return character ? static_cast<UINT>(CharacterKeys[scan]) : code == VK_SPACE ? ' ' : 0;
    }
    default:
        return 0;
    }
}

bool IsExtendedKey(UINT virtualKey) {
    return std::find(std::begin(ExtendedKeys), std::end(ExtendedKeys), virtualKey) != std::end(ExtendedKeys);
}

int GetKeyNameTextA(LONG lParam, char* buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    UINT scan = (static_cast<UINT>(lParam) >> 16) & 0xFF;
    const bool extended = (lParam & (1 << 24)) != 0;
    const bool eitherSide = (lParam & (1 << 25)) != 0;
    std::string name;
    if (eitherSide && (scan == 0x36 || ((scan == 0x1D || scan == 0x38) && extended)))
        name = nameOf(scan == 0x36 ? 0x2A : scan, false); // the right Shift, Ctrl and Alt named as the left ones
    else
        name = nameOf(scan, extended);
    const int length = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}
