#include "win/RegistryText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unordered_map>

namespace {

constexpr DWORD TypeSz = 1;
constexpr DWORD TypeBinary = 3;
constexpr DWORD TypeDword = 4;
constexpr std::size_t HexLineWidth = 76;

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// A REG_SZ value is written as text when it is one zero-terminated string without other zeros.
bool plainText(const RegistryValue& value) {
    return value.type == TypeSz && !value.data.empty() && value.data.back() == 0 &&
           std::find(value.data.begin(), value.data.end() - 1, 0) == value.data.end() - 1;
}

std::string hexData(const std::string& prefix, const std::vector<BYTE>& data) {
    std::string out = prefix;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        if (out.size() - lineStart + 3 > HexLineWidth) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
        out += byte;
        if (i + 1 < data.size())
            out += ',';
    }
    return out;
}

std::string formatValue(const RegistryValue& value) {
    std::string line = value.name.empty() ? "@=" : quoted(value.name) + "=";
    if (plainText(value))
        return line + quoted(std::string(value.data.begin(), value.data.end() - 1));
    if (value.type == TypeDword && value.data.size() == 4) {
        char number[16];
        const DWORD v = static_cast<DWORD>(value.data[0] | value.data[1] << 8 | value.data[2] << 16) |
                        static_cast<DWORD>(value.data[3]) << 24;
        std::snprintf(number, sizeof number, "dword:%08x", v);
        return line + number;
    }
    if (value.type == TypeBinary)
        return hexData(line + "hex:", value.data);
    return hexData(line + "hex(" + std::to_string(value.type) + "):", value.data);
}

// Reads a quoted string starting at `at` (on the opening quote); moves `at` past the closing one.
bool readQuoted(const std::string& line, std::size_t& at, std::string& out) {
    if (at >= line.size() || line[at] != '"')
        return false;
    out.clear();
    for (++at; at < line.size(); ++at) {
        if (line[at] == '\\' && at + 1 < line.size()) {
            out += line[++at];
        } else if (line[at] == '"') {
            ++at;
            return true;
        } else {
            out += line[at];
        }
    }
    return false;
}

bool readHex(const std::string& text, std::vector<BYTE>& out) {
    out.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at >= text.size())
            break;
        if (at + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[at])) ||
            !std::isxdigit(static_cast<unsigned char>(text[at + 1])))
            return false;
        out.push_back(static_cast<BYTE>(std::stoi(text.substr(at, 2), nullptr, 16)));
        at += 2;
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at < text.size() && text[at++] != ',')
            return false;
    }
    return true;
}

bool parseData(const std::string& text, RegistryValue& value) {
    if (!text.empty() && text[0] == '"') {
        std::size_t at = 0;
        std::string content;
        if (!readQuoted(text, at, content) || text.find_first_not_of(" \t", at) != std::string::npos)
            return false;
        value.type = TypeSz;
        value.data.assign(content.begin(), content.end());
        value.data.push_back(0);
        return true;
    }
    if (text.rfind("dword:", 0) == 0) {
        const std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c));
            }))
            return false;
        const auto v = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
        value.type = TypeDword;
        value.data = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
        return true;
    }
    if (text.rfind("hex:", 0) == 0) {
        value.type = TypeBinary;
        return readHex(text.substr(4), value.data);
    }
    if (text.rfind("hex(", 0) == 0) {
        const std::size_t close = text.find("):");
        if (close == std::string::npos || close <= 4)
            return false;
        const std::string number = text.substr(4, close - 4);
        if (!std::all_of(number.begin(), number.end(),
                         [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }) ||
            number.size() > 8)
            return false;
        value.type = static_cast<DWORD>(std::stoul(number, nullptr, 16));
        return readHex(text.substr(close + 2), value.data);
    }
    return false;
}

// The logical lines with their first line numbers: CR dropped, lines ending in '\' joined with the next (its
// leading blanks dropped), comments and blank lines left out.
std::vector<std::pair<int, std::string>> logicalLines(const std::string& text) {
    std::vector<std::pair<int, std::string>> lines;
    std::string current;
    int number = 0, start = 0;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (current.empty())
            start = number;
        else
            line.erase(0, std::min(line.size(), line.find_first_not_of(" \t")));
        if (!line.empty() && line.back() == '\\') {
            current += line.substr(0, line.size() - 1);
            continue;
        }
        current += line;
        const std::size_t content = current.find_first_not_of(" \t");
        if (content != std::string::npos && current[content] != ';')
            lines.emplace_back(start, current);
        current.clear();
    }
    return lines;
}

} // namespace

const RegistryValue* RegistryKey::find(const std::string& name) const {
    const std::string folded = FoldedRegistryName(name);
    for (const RegistryValue& value : values)
        if (FoldedRegistryName(value.name) == folded)
            return &value;
    return nullptr;
}

RegistryValue* RegistryKey::find(const std::string& name) {
    return const_cast<RegistryValue*>(static_cast<const RegistryKey&>(*this).find(name));
}

std::string FoldedRegistryName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

std::string FormatRegistry(const RegistryKeys& keys) {
    std::string text = "REGEDIT4\n";
    for (const auto& [folded, key] : keys) {
        text += "\n[" + key.path + "]\n";
        for (const RegistryValue& value : key.values)
            text += formatValue(value) + "\n";
    }
    return text;
}

std::optional<RegistryKeys> ParseRegistry(const std::string& text, std::string& error) {
    const auto lines = logicalLines(text);
    if (lines.empty() || (lines[0].second != "REGEDIT4" && lines[0].second != "Windows Registry Editor Version 5.00")) {
        error = "the first line is not REGEDIT4";
        return std::nullopt;
    }
    RegistryKeys keys;
    RegistryKey* current = nullptr;
    // Where each value of each key stands, by its folded name: a value given twice keeps its last data.
    std::map<const RegistryKey*, std::unordered_map<std::string, std::size_t>> positions;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto& [number, raw] = lines[i];
        const std::string line = raw.substr(raw.find_first_not_of(" \t"));
        const auto fail = [&, n = number](const char* what) {
            error = "line " + std::to_string(n) + ": " + what;
            return std::nullopt;
        };
        if (line[0] == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string::npos || close < 2 || line[1] == '-')
                return fail("a key name in brackets was expected");
            const std::string path = line.substr(1, close - 1);
            RegistryKey& key = keys[FoldedRegistryName(path)];
            if (key.path.empty())
                key.path = path;
            current = &key;
            continue;
        }
        if (current == nullptr)
            return fail("a value before any key");
        RegistryValue value;
        std::size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (!readQuoted(line, at, value.name)) {
            return fail("a value name in quotes was expected");
        }
        if (at >= line.size() || line[at] != '=')
            return fail("'=' was expected after the value name");
        if (!parseData(line.substr(at + 1), value))
            return fail("the value's data is not in the format");
        auto& places = positions[current];
        const auto [place, added] = places.emplace(FoldedRegistryName(value.name), current->values.size());
        if (added)
            current->values.push_back(std::move(value));
        else
            current->values[place->second] = std::move(value);
    }
    return keys;
}
