#include "win/RegistryText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string_view>
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

// Whether the bytes are UTF-8 without control characters other than the tab: such a text reads back as written,
// between quotes, in an editor as in other tools.
bool printableUtf8(const BYTE* at, const BYTE* end) {
    while (at < end) {
        const BYTE lead = *at;
        if (lead < 0x80) {
            if ((lead < 0x20 && lead != '\t') || lead == 0x7F)
                return false;
            ++at;
            continue;
        }
        const int length = lead > 0xF4 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || end - at < length)
            return false;
        std::uint32_t code = lead & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            if ((at[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (at[i] & 0x3F);
        }
        constexpr std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < shortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code < 0xA0)
            return false;
        at += length;
    }
    return true;
}

// A REG_SZ value is written as text when it is one zero-terminated, printable string.
bool plainText(const RegistryValue& value) {
    return value.type == TypeSz && !value.data.empty() && value.data.back() == 0 &&
           printableUtf8(value.data.data(), value.data.data() + value.data.size() - 1);
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
    char type[20];
    std::snprintf(type, sizeof type, "hex(%x):", value.type);
    return hexData(line + type, value.data);
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

// A logical line: its first line number, its text (continuations joined) and its lines as written.
struct Line {
    int number = 0;
    std::string text;
    std::string raw;
};

// The logical lines: CR dropped, lines ending in '\' joined with the next (its leading blanks dropped), comments and
// blank lines left out.
std::vector<Line> logicalLines(std::string_view text) {
    std::vector<Line> lines;
    Line current;
    const auto emit = [&] {
        const std::size_t content = current.text.find_first_not_of(" \t");
        if (content != std::string::npos && current.text[content] != ';')
            lines.push_back(std::move(current));
        current = {};
    };
    int number = 0;
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string line(text.substr(at, end - at));
        at = end + 1;
        ++number;
        // Every CR before the line feed goes: a file whose line ends were converted twice ends lines in "\r\r".
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (current.number == 0) {
            current.number = number;
            current.raw = line;
        } else {
            current.raw += "\n" + line;
            line.erase(0, std::min(line.size(), line.find_first_not_of(" \t")));
        }
        if (!line.empty() && line.back() == '\\') {
            current.text += line.substr(0, line.size() - 1);
            continue;
        }
        current.text += line;
        emit();
    }
    if (current.number != 0)
        emit();
    return lines;
}

// Reads a value line into `value`; the reason when it is not in the format.
const char* readValue(const std::string& line, RegistryValue& value) {
    std::size_t at = 0;
    if (line[0] == '@')
        at = 1;
    else if (!readQuoted(line, at, value.name))
        return "a value name in quotes was expected";
    if (at >= line.size() || line[at] != '=')
        return "'=' was expected after the value name";
    if (!parseData(line.substr(at + 1), value))
        return "the value's data is not in the format";
    return nullptr;
}

// The key path of a section line, or nothing when the line names none (a deletion "[-...]" included).
std::optional<std::string> sectionPath(const std::string& line) {
    const std::size_t close = line.rfind(']');
    if (close == std::string::npos || close < 2 || line[1] == '-')
        return std::nullopt;
    return line.substr(1, close - 1);
}

std::string_view withoutByteOrderMark(const std::string& text) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    std::string_view view = text;
    if (view.substr(0, mark.size()) == mark)
        view.remove_prefix(mark.size());
    return view;
}

// Reading a store's lines into keys, keeping those that do not read.
class Reader {
public:
    explicit Reader(RegistryKeys& keys) : m_keys(keys) {}

    void read(const Line& line) {
        const std::string text = line.text.substr(line.text.find_first_not_of(" \t"));
        if (text[0] == '[') {
            readSection(line, text);
        } else if (m_inUnnamedSection) {
            keep(line);
        } else if (m_current == nullptr) {
            keep(line, "a value before any key");
        } else {
            RegistryValue value;
            if (const char* problem = readValue(text, value))
                keep(line, problem);
            else
                add(std::move(value));
        }
    }
    // The first line that did not read, and how many did not.
    std::string problems() const {
        if (m_problems <= 1)
            return m_firstProblem;
        return m_firstProblem + " (and " + std::to_string(m_problems - 1) + " more)";
    }

private:
    void readSection(const Line& line, const std::string& text) {
        const std::optional<std::string> path = sectionPath(text);
        m_inUnnamedSection = !path;
        if (!path) {
            keep(line, "a key name in brackets was expected");
            return;
        }
        RegistryKey& key = m_keys[FoldedRegistryName(*path)];
        if (key.path.empty())
            key.path = *path;
        m_current = &key;
    }
    // A value given twice keeps its last data, in the place of the first.
    void add(RegistryValue value) {
        auto& places = m_positions[m_current];
        const auto [place, added] = places.emplace(FoldedRegistryName(value.name), m_current->values.size());
        if (added)
            m_current->values.push_back(std::move(value));
        else
            m_current->values[place->second] = std::move(value);
    }
    // Kept under the section it stood in (the lines before any section under the empty path).
    void keep(const Line& line, const char* problem = nullptr) {
        RegistryKey& owner = m_current != nullptr ? *m_current : m_keys[std::string()];
        // A text that ends in a continuation (the file's end continued nothing) is written with an empty line for
        // the continuation to take, so that it reads back as the same text and continues no line after it.
        std::string raw = line.raw;
        if (!raw.empty() && raw.back() == '\\')
            raw += '\n';
        owner.unread.push_back(std::move(raw));
        if (problem != nullptr && m_problems++ == 0)
            m_firstProblem = "line " + std::to_string(line.number) + ": " + problem;
    }

    RegistryKeys& m_keys;
    RegistryKey* m_current = nullptr;
    bool m_inUnnamedSection = false;
    std::map<const RegistryKey*, std::unordered_map<std::string, std::size_t>> m_positions;
    int m_problems = 0;
    std::string m_firstProblem;
};

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
        text += "\n";
        if (!key.path.empty())
            text += "[" + key.path + "]\n";
        for (const RegistryValue& value : key.values)
            text += formatValue(value) + "\n";
        for (const std::string& line : key.unread)
            text += line + "\n";
    }
    return text;
}

std::optional<RegistryKeys> ParseRegistry(const std::string& text, std::string& error) {
    const std::vector<Line> lines = logicalLines(withoutByteOrderMark(text));
    if (lines.empty() || (lines[0].text != "REGEDIT4" && lines[0].text != "Windows Registry Editor Version 5.00")) {
        error = "the first line is not REGEDIT4";
        return std::nullopt;
    }
    RegistryKeys keys;
    Reader reader(keys);
    for (std::size_t i = 1; i < lines.size(); ++i)
        reader.read(lines[i]);
    error = reader.problems();
    return keys;
}
