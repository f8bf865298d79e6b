#include "win/ModuleStringTable.h"

#include "win/ModuleRegistry.h"
#include "win/Modules.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Strings = std::vector<StringResource>; // sorted by id
using Registry = ModuleRegistry<Strings>;

const char* findString(const Strings& strings, UINT id) {
    auto it = std::lower_bound(strings.begin(), strings.end(), id,
                               [](const StringResource& s, UINT key) { return s.id < key; });
    return it != strings.end() && it->id == id && *it->text != '\0' ? it->text : nullptr;
}

// Backs a cut at `length` bytes off to the start of the UTF-8 character it would split.
std::size_t characterBoundary(const char* text, std::size_t length) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace

ModuleStringTable::ModuleStringTable(std::span<const StringResource> strings) : m_module(ModuleFromAddress(this)) {
    Strings sorted(strings.begin(), strings.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const StringResource& a, const StringResource& b) { return a.id < b.id; });
    Registry::Instance().add(this, m_module, std::move(sorted));
}

ModuleStringTable::~ModuleStringTable() {
    Registry::Instance().remove(this);
}

int LoadStringA(HMODULE module, UINT id, char* buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    buffer[0] = '\0';
    const char* text =
        Registry::Instance().find<const char>(module, [id](const Strings& strings) { return findString(strings, id); });
    if (text == nullptr)
        return 0;
    std::size_t length = std::strlen(text);
    if (length >= static_cast<std::size_t>(size))
        length = characterBoundary(text, static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

unsigned LoadModuleString(unsigned id, char* buffer, unsigned size, void* module) {
    const int count = LoadStringA(static_cast<HMODULE>(module), id, buffer, static_cast<int>(size));
    return count > 0 ? static_cast<unsigned>(count) : 0;
}
