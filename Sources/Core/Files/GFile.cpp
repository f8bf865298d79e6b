#include "Files/GFile.h"

#include "Streams/InvalidPStream_Exception.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"
#include "win/Files.h"

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char Separator = '/';

// Tokens of the persistent form.
enum Token : BYTE { End = 0, SeparatorToken = 1, DotToken = 2, ParentToken = 3, TextToken = 4 };

std::vector<std::string_view> componentsOf(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(Separator, start);
        parts.push_back(path.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

GFile::GFile(const char* name) : GString(name) {
    toSeparators();
}

GFile::GFile(const GString& name) : GString(name) {
    toSeparators();
}

GFile& GFile::operator=(const char* name) {
    GString::operator=(name);
    toSeparators();
    return *this;
}

GFile& GFile::operator=(const GString& name) {
    GString::operator=(name);
    toSeparators();
    return *this;
}

void GFile::toSeparators() {
    if (std::strchr(*this, '\\') != nullptr)
        translate('\\', Separator);
}

bool GFile::valid() const {
    return std::strpbrk(*this, "<>|") == nullptr;
}

bool GFile::isMask() const {
    return std::strpbrk(*this, "*?") != nullptr;
}

bool GFile::exists() const {
    return !isEmpty() && !isMask() && GetFileAttributesA(*this) != INVALID_FILE_ATTRIBUTES;
}

bool GFile::isDirectory() const {
    if (isMask() || isEmpty())
        return false;
    std::string name(static_cast<const char*>(*this));
    while (name.size() > 1 && name.back() == Separator)
        name.pop_back();
    const DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool GFile::isDrive() const {
    if (length() != 2 || at(1) != ':')
        return false;
    const char letter = static_cast<char>(at(0) & ~0x20);
    return letter >= 'A' && letter <= 'Z' && (GetLogicalDrives() & (1u << (letter - 'A'))) != 0;
}

bool GFile::isRelativePath() const {
    return isEmpty() || (at(0) != Separator && !(length() >= 2 && at(1) == ':'));
}

unsigned GFile::extensionStart() const {
    const char* text = *this;
    const char* dot = std::strrchr(text, '.');
    if (dot == nullptr || std::strchr(dot, Separator) != nullptr)
        return length();
    return static_cast<unsigned>(dot - text) + 1;
}

GFile GFile::get_name() const {
    return GFile(*this).just_name();
}

GFile GFile::get_extension() const {
    return GFile(*this).just_extension();
}

GFile GFile::get_directory() const {
    return GFile(*this).just_directory();
}

GFile GFile::get_drive() const {
    return GFile(*this).just_drive();
}

// A name directly under the root keeps the root as its directory ("/f" gives "/", not "").
GFile& GFile::just_directory() {
    const char* text = *this;
    if (const char* slash = std::strrchr(text, Separator))
        setLength(slash == text ? 1 : static_cast<unsigned>(slash - text));
    else if (const char* colon = std::strchr(text, ':'))
        setLength(static_cast<unsigned>(colon - text) + 1);
    else
        empty();
    return *this;
}

GFile& GFile::just_drive() {
    const char* text = *this;
    if (const char* colon = std::strchr(text, ':'))
        setLength(static_cast<unsigned>(colon - text) + 1);
    else
        empty();
    return *this;
}

GFile& GFile::just_name() {
    const char* text = *this;
    if (const char* slash = std::strrchr(text, Separator))
        remove(0, static_cast<unsigned>(slash - text) + 1);
    else if (const char* colon = std::strchr(text, ':'))
        remove(0, static_cast<unsigned>(colon - text) + 1);
    return *this;
}

GFile& GFile::just_extension() {
    remove(0, extensionStart());
    return *this;
}

GFile& GFile::add_extension(const char* extension) {
    if (extension != nullptr && *extension != '\0') {
        *this += '.';
        *this += extension;
    }
    return *this;
}

GFile& GFile::remove_extension() {
    const char* text = *this;
    const char* dot = std::strrchr(text, '.');
    if (dot != nullptr && std::strchr(dot, Separator) == nullptr)
        setLength(static_cast<unsigned>(dot - text));
    return *this;
}

GFile& GFile::replace_extension(const char* extension) {
    return remove_extension().add_extension(extension);
}

GFile& GFile::add_name(const char* name) {
    if (isEmpty()) {
        *this = name;
        return *this;
    }
    const GFile added(name);
    if (at(length() - 1) != Separator && (added.isEmpty() || added.at(0) != Separator))
        *this += Separator;
    *this += added;
    return *this;
}

GFile& GFile::replace_name(const char* name) {
    const GFile replacement(name);
    const char* text = *this;
    if (const char* slash = std::strrchr(text, Separator))
        setLength(static_cast<unsigned>(slash - text) + 1);
    else
        empty();
    *this += replacement;
    return *this;
}

GFile& GFile::expand() {
    *this = GetFullPathName(*this).c_str();
    return *this;
}

GFile& GFile::shrink() {
    return shrink(GetFullPathName("").c_str());
}

// The common leading components go; every remaining component of the base becomes "..". Names on two drives
// (different first components) stay absolute.
GFile& GFile::shrink(const char* base) {
    GFile directory(base);
    if (directory.exists() && !directory.isDirectory())
        directory.just_directory();
    directory.expand();
    expand();
    const std::string name(static_cast<const char*>(*this));
    const std::string from(static_cast<const char*>(directory));
    std::vector<std::string_view> nameParts = componentsOf(name);
    std::vector<std::string_view> baseParts = componentsOf(from);
    if (!baseParts.empty() && baseParts.back().empty())
        baseParts.pop_back();
    if (nameParts.front() != baseParts.front())
        return *this;
    std::size_t common = 0;
    while (common < nameParts.size() - 1 && common < baseParts.size() && nameParts[common] == baseParts[common])
        ++common;
    std::string relative;
    for (std::size_t i = common; i < baseParts.size(); ++i)
        relative += "../";
    for (std::size_t i = common; i < nameParts.size(); ++i) {
        relative += nameParts[i];
        if (i + 1 < nameParts.size())
            relative += Separator;
    }
    *this = relative.c_str();
    return *this;
}

bool GFile::equals_to(const char* name) const {
    return GetFullPathName(*this) == GetFullPathName(GFile(name));
}

int GFile::compare(const char* name) const {
    const GFile other(name);
    const int order = UCcompare(*this, other);
    return order != 0 ? order : std::strcmp(*this, other);
}

// Streaming: the separator, '.', a parent component and runs of other characters are tokens; "./" components
// are dropped.
opstream& operator<<(opstream& stream, const GFile& file) {
    stream.writeByte(1);
    const std::string_view name(static_cast<const char*>(file));
    std::size_t i = 0;
    while (i < name.size()) {
        const bool componentStart = i == 0 || name[i - 1] == Separator;
        if (componentStart && name.substr(i, 3) == "../") {
            stream.writeByte(ParentToken);
            i += 3;
        } else if (componentStart && name.substr(i, 2) == "./") {
            i += 2;
        } else if (name[i] == Separator || name[i] == '.') {
            stream.writeByte(name[i] == Separator ? SeparatorToken : DotToken);
            ++i;
        } else {
            const std::size_t end = std::min(name.find_first_of("/.", i), name.size());
            stream.writeByte(TextToken);
            stream.writeString(std::string(name.substr(i, end - i)).c_str());
            i = end;
        }
    }
    stream.writeByte(End);
    return stream;
}

ipstream& operator>>(ipstream& stream, GFile& file) {
    stream.readVersion(1, typeid(GFile));
    GString name;
    for (BYTE token = stream.readByte(); token != End; token = stream.readByte()) {
        switch (token) {
        case SeparatorToken:
            name += Separator;
            break;
        case DotToken:
            name += '.';
            break;
        case ParentToken:
            name += "../";
            break;
        case TextToken: {
            const std::unique_ptr<char[]> text(stream.readString());
            if (text != nullptr)
                name += text.get();
            break;
        }
        default:
            throw new GFileReadError_Exception();
        }
    }
    file = name;
    return stream;
}
