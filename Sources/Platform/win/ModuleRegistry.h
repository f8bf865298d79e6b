#pragma once
// The tables of resources that modules register when they load (strings, images), keyed by module handle. One
// registry per kind of table, never destroyed: modules may unregister during process exit in any order.

#include "win/Win32Types.h"

#include <mutex>
#include <vector>

template <class Table>
class ModuleRegistry {
public:
    static ModuleRegistry& Instance() {
        static auto* instance = new ModuleRegistry;
        return *instance;
    }

    void add(const void* owner, HMODULE module, Table table) {
        std::lock_guard guard(m_lock);
        m_entries.push_back({owner, module, std::move(table)});
    }
    void remove(const void* owner) {
        std::lock_guard guard(m_lock);
        std::erase_if(m_entries, [owner](const Entry& entry) { return entry.owner == owner; });
    }
    // The first non-null result of `look` over the module's tables, in the order they were registered.
    template <class Result, class Look>
    Result* find(HMODULE module, Look look) {
        std::lock_guard guard(m_lock);
        for (const Entry& entry : m_entries)
            if (entry.module == module)
                if (Result* found = look(entry.table))
                    return found;
        return nullptr;
    }

private:
    struct Entry {
        const void* owner;
        HMODULE module;
        Table table;
    };

    std::mutex m_lock;
    std::vector<Entry> m_entries;
};
