#pragma once
// GMenuEntry: one entry of a menu read from the settings (a context's item, a standard command of the framework, a
// separator, or a popup with its entries). The shell turns a list of them into the framework's menus.

#include "Text/GString.h"
#include "win/Win32Types.h"

#include <vector>

struct GMenuEntry {
    enum Kind { Item, Command, Separator, Popup };

    Kind kind = Item;
    GString text;
    UINT id = 0;                      // items and commands
    std::vector<GMenuEntry> children; // popups only
    bool checkable = false;           // items of contexts that can be current (tools), which show a mark
};
