#pragma once
// The application library's string table and the loader that reaches it; the host program (and each test
// program) calls AddUIStringLoader once at start-up, beside the core's.

#include "win/Win32Types.h"

inline constexpr UINT IDS_LAYER = 14264;

HMODULE GetUIModule();
// Registers a GString loader that finds the application library's strings; later calls do nothing.
void AddUIStringLoader();
