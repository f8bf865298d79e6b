#pragma once
// The registry store's text: the REGEDIT4 export format, which a person can read and edit. Sections name keys by
// their full path ("[HKEY_CURRENT_USER\Software\Orvelcraft\Korvane]"); values are "name"="text" (with \\ and \"
// escapes), @= for the default value, dword:0000002a, hex:01,02 and hex(N): (N in hex digits) for any other type,
// long hex runs continued with '\' at the end of a line. A REG_SZ that is not printable UTF-8 with one terminating
// zero (a line break, another control byte, a byte of another encoding) is written as hex(1): with its zero, as the
// classic export does, so that every value reads back byte for byte. Comments (';') and blank lines are allowed,
// CRLF and a UTF-8 byte-order mark too.

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
    // The section's lines that could not be read, as written (after them, up to the next section that reads, the
    // lines under a key name that did not read), written again after the values so that no rewrite drops them.
    std::vector<std::string> unread;

    RegistryValue* find(const std::string& name);
    const RegistryValue* find(const std::string& name) const;
};

// Keys by their path folded to lower case: names compare without case, as on Windows. The entry of the empty path
// is no key: its unread lines are those met before the first section.
using RegistryKeys = std::map<std::string, RegistryKey>;

std::string FoldedRegistryName(const std::string& name);

std::string FormatRegistry(const RegistryKeys& keys);
// The keys of a store's text; nothing when the text does not begin as the format does (the reason in `error`).
// A line that does not read is kept in its section's unread lines and the rest is read; `error` then names the
// first such line (it is empty when every line read).
std::optional<RegistryKeys> ParseRegistry(const std::string& text, std::string& error);
