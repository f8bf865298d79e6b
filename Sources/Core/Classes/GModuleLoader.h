#pragma once
// Loads and unloads modules (shared objects such as plug-ins). Loading a module registers its classes; a class
// whose name is taken by another class makes the load fail without leaving the module behind.

#include "win/Win32Types.h"

class GModuleLoader {
public:
    // Loads the module at `path`. Raises GFileIOException when the module cannot be loaded, and
    // DuplicatedTypes_Exception (after unloading it again) when one of its classes takes a registered name.
    static HMODULE Load(const char* path);
    // Unloads a module given by Load; its class records leave the dictionary.
    static void Free(HMODULE module);
};
