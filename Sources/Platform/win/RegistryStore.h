#pragma once
// The settings store of this platform's registry: one text file per user ($KORVANE_REGISTRY, else
// $XDG_CONFIG_HOME/Orvelcraft/Korvane.reg, else ~/.config/Orvelcraft/Korvane.reg) in the REGEDIT4 format.
// Every change is written through at once: under an advisory lock the file is read again, the change is applied, and
// the whole store goes to a temporary file renamed over the old one, so a crash leaves the old store or the new one.
// The data reaches the disk (fsync) at most about once a second and at exit. Lines of the store that do not read are
// kept as written and reported once. A file that is no store at all is renamed to the first free of ".bad",
// ".bad.2", ... and reported, and the program goes on with defaults. A store that exists but cannot be read (its
// permissions, a directory or FIFO in its place, UTF-16 text) is refused: it is left as it is, reported, the
// defaults are used and changes stay in memory. Keys absent from the store are imported from the defaults file
// (Korvane.reg beside the program's libraries, or $KORVANE_REGISTRY_DEFAULTS) when the store is loaded; loading
// takes the file lock too, since it may write.

#include "win/RegistryText.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>

class RegistryStore {
public:
    // The process's store.
    static RegistryStore& Instance();
    // Where reports of a store set aside go (the core installs its diagnostics); stderr until then.
    static void SetReporter(void (*report)(const char* message));

    // Reads: the keys as last loaded (loaded again when the file's inode, size or time shows a change).
    template <class F>
    auto read(F f) {
        std::lock_guard guard(m_lock);
        refresh();
        return f(static_cast<const RegistryKeys&>(m_keys));
    }
    // A change: applied to the newest store under the file lock and written through; false when it could not
    // be written or the store is refused (the change then stays in memory only).
    bool change(const std::function<void(RegistryKeys&)>& apply);

    // Forgets the loaded store (the next use loads it again; tests change $KORVANE_REGISTRY).
    void reset();
    // Flushes what was written to the disk.
    void sync();
    ~RegistryStore();

private:
    RegistryStore() = default;
    void refresh();
    void load(const std::string& path);
    std::optional<RegistryKeys> readStore();
    std::nullopt_t refuse(const std::string& reason);
    void reportOnce(const std::string& message);
    bool importDefaults();
    bool changedOnDisk() const;
    void rememberStamp();
    bool writeThrough();

    std::recursive_mutex m_lock;
    RegistryKeys m_keys;
    std::string m_path;
    bool m_loaded = false;
    bool m_refused = false;
    std::string m_reported; // the last report, not repeated
    bool m_unsynced = false;
    long long m_lastSync = 0;
    // What the file was when loaded: a change by another process shows in one of these.
    long long m_inode = -1;
    long long m_size = -1;
    long long m_modified = -1;
};

// The store's file path as the environment gives it now.
std::string RegistryStorePath();
