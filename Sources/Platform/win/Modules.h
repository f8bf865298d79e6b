#pragma once
// Module handles of loaded shared objects.

#include "Platform/win/Win32Types.h"

// The module (shared object or program) that holds the given code or data address; null when none does.
HMODULE ModuleFromAddress(const void* address);
