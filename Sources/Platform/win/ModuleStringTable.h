#pragma once
// Per-module string resources: each library and plug-in compiles its string table into itself and registers it
// when it is loaded, keyed by its module handle, so that LoadStringA finds it as on Windows.

#include "win/Win32Types.h"

#include <span>

struct StringResource {
    UINT id;
    const char* text;
};

// Registers a string table for the module that holds this object. A module defines one static instance; the
// table must outlive it (a static array in the same module does).
class ModuleStringTable {
public:
    explicit ModuleStringTable(std::span<const StringResource> strings);
    ~ModuleStringTable();
    ModuleStringTable(const ModuleStringTable&) = delete;
    ModuleStringTable& operator=(const ModuleStringTable&) = delete;

    HMODULE module() const { return m_module; }

private:
    HMODULE m_module;
};

// Copies string `id` of `module` into `buffer`, cut to size - 1 bytes (never inside a UTF-8 character) and
// zero-terminated. Returns the number of bytes copied; 0 (with an empty buffer) when the module has no such
// string, and 0 with the buffer untouched when size is 0.
int LoadStringA(HMODULE module, UINT id, char* buffer, int size);

// LoadStringA in the shape of a GString string loader, with the module as its context: the number of bytes
// copied, 0 when the string is absent.
unsigned LoadModuleString(unsigned id, char* buffer, unsigned size, void* module);
