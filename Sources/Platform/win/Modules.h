#pragma once
// Loading shared objects as Win32 modules. A module handle is the load address of the shared object; the
// loader keeps the dlopen handle behind it and counts loads, like LoadLibrary and FreeLibrary.

#include "win/Win32Types.h"

#include <string>

// The module (shared object or program) that holds the given code or data address; null when none does.
HMODULE ModuleFromAddress(const void* address);

// The file of the module (its path as it was loaded; the program's own path for the program); empty for none.
std::string GetModuleFileNameA(HMODULE module);

// Loads a shared object with all its symbols resolved now and kept private to it. Null on failure, with the
// reason in LastModuleError().
HMODULE LoadLibraryA(const char* path);

// Drops one load of the module; the shared object is unloaded (its static destructors run) with the last.
// FALSE for a handle that LoadLibraryA did not give.
BOOL FreeLibrary(HMODULE module);

// The address of an exported symbol of a loaded module; null when absent.
void* GetProcAddress(HMODULE module, const char* name);

// Why the last LoadLibraryA of this thread failed.
const char* LastModuleError();
