#pragma once
// The registry store's text: the REGEDIT4 export format, which a person can read and edit. Sections name keys by
// their full path ("[HKEY_CURRENT_USER\Software\Orvelcraft\Korvane]"); values are "name"="text" (with \\ and \"
// escapes), @= for the default value, dword:0000002a, hex:01,02 and hex(N): for any other type, long hex runs
// continued with '\' at the end of a line. Comments (';') and blank lines are allowed, CRLF too.

#include "win/Win32Types.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
    std::string name; // empty for the default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct RegistryKey {
    std::string path; // as written, e.g. HKEY_CURRENT_USER\Software\Orvelcraft
    std::vector<RegistryValue> values;

    RegistryValue* find(const std::string& name);
    const RegistryValue* find(const std::string& name) const;
};

// Keys by their path folded to lower case: names compare without case, as on Windows.
using RegistryKeys = std::map<std::string, RegistryKey>;

std::string FoldedRegistryName(const std::string& name);

std::string FormatRegistry(const RegistryKeys& keys);
// The keys of a store's text; nothing when the text is not in the format (the reason in `error`).
std::optional<RegistryKeys> ParseRegistry(const std::string& text, std::string& error);
