#include "win/ModuleStringTable.h"

#include "win/Modules.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct Registration {
    const ModuleStringTable* owner;
    HMODULE module;
    std::vector<StringResource> strings; // sorted by id
};

struct Registry {
    std::mutex lock;
    std::vector<Registration> tables;
};

// Never destroyed: modules may unregister during process exit in any order.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

const char* findString(const Registration& table, UINT id) {
    auto it = std::lower_bound(table.strings.begin(), table.strings.end(), id,
                               [](const StringResource& s, UINT key) { return s.id < key; });
    return it != table.strings.end() && it->id == id ? it->text : nullptr;
}

// Backs a cut at `length` bytes off to the start of the UTF-8 character it would split.
std::size_t characterBoundary(const char* text, std::size_t length) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

} // namespace

ModuleStringTable::ModuleStringTable(std::span<const StringResource> strings) : m_module(ModuleFromAddress(this)) {
    Registration entry{this, m_module, {strings.begin(), strings.end()}};
    std::sort(entry.strings.begin(), entry.strings.end(),
              [](const StringResource& a, const StringResource& b) { return a.id < b.id; });
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.tables.push_back(std::move(entry));
}

ModuleStringTable::~ModuleStringTable() {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    std::erase_if(r.tables, [this](const Registration& entry) { return entry.owner == this; });
}

int LoadStringA(HMODULE module, UINT id, char* buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    buffer[0] = '\0';
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    for (const Registration& table : r.tables) {
        if (table.module != module)
            continue;
        const char* text = findString(table, id);
        if (text == nullptr || *text == '\0')
            continue;
        std::size_t length = std::strlen(text);
        if (length >= static_cast<std::size_t>(size))
            length = characterBoundary(text, static_cast<std::size_t>(size) - 1);
        std::memcpy(buffer, text, length);
        buffer[length] = '\0';
        return static_cast<int>(length);
    }
    return 0;
}

unsigned LoadModuleString(unsigned id, char* buffer, unsigned size, void* module) {
    const int count = LoadStringA(static_cast<HMODULE>(module), id, buffer, static_cast<int>(size));
    return count > 0 ? static_cast<unsigned>(count) : 0;
}
