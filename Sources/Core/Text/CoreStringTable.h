#pragma once
// The core library's string table and the loader that reaches it. The core registers no string loader itself:
// the host program (and each test program) calls AddCoreStringLoader once at start-up.

#include "win/Win32Types.h"

// The module handle of the core library.
HMODULE GetCoreModule();

// Registers a GString loader that finds the core's messages; later calls do nothing.
void AddCoreStringLoader();
