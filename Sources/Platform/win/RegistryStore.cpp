#include "win/RegistryStore.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void (*reporter)(const char*) = nullptr;

void report(const std::string& message) {
    if (reporter != nullptr)
        reporter(message.c_str());
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

bool readText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

long long nowInMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The defaults an installer would have written: beside this library, unless the environment names a file.
std::string defaultsPath() {
    if (const char* path = std::getenv("KORVANE_REGISTRY_DEFAULTS"))
        return path;
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&RegistryStorePath), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return (std::filesystem::path(info.dli_fname).parent_path() / "Korvane.reg").string();
}

// An advisory lock on a file beside the store (the store itself is replaced by renaming, so it cannot carry
// the lock), held for one read-modify-write.
class StoreLock {
public:
    explicit StoreLock(const std::string& path)
        : m_fd(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~StoreLock() {
        if (m_fd >= 0) {
            ::flock(m_fd, LOCK_UN);
            ::close(m_fd);
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    int m_fd;
};

bool writeAll(int fd, const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string RegistryStorePath() {
    const auto set = [](const char* value) {
        return value != nullptr && *value != '\0';
    };
    if (const char* path = std::getenv("KORVANE_REGISTRY"); set(path))
        return path;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string config = set(xdg) ? std::string(xdg) : set(home) ? std::string(home) + "/.config" : ".";
    return config + "/Orvelcraft/Korvane.reg";
}

RegistryStore& RegistryStore::Instance() {
    static RegistryStore store;
    return store;
}

void RegistryStore::SetReporter(void (*report)(const char* message)) {
    reporter = report;
}

RegistryStore::~RegistryStore() {
    sync();
}

void RegistryStore::reset() {
    std::lock_guard guard(m_lock);
    sync();
    m_loaded = false;
    m_keys.clear();
}

void RegistryStore::refresh() {
    if (!m_loaded || m_path != RegistryStorePath() || changedOnDisk())
        load();
}

bool RegistryStore::changedOnDisk() const {
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0)
        return m_inode != -1;
    return static_cast<long long>(info.st_ino) != m_inode || info.st_size != m_size ||
           info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec != m_modified;
}

void RegistryStore::load() {
    m_path = RegistryStorePath();
    m_loaded = true;
    m_keys.clear();
    m_inode = m_size = m_modified = -1;
    std::string text, error;
    if (readText(m_path, text)) {
        if (std::optional<RegistryKeys> keys = ParseRegistry(text, error)) {
            m_keys = std::move(*keys);
        } else {
            const std::string aside = m_path + ".bad";
            std::rename(m_path.c_str(), aside.c_str());
            report("The settings store '" + m_path + "' could not be read (" + error + "); it was kept as '" + aside +
                   "' and the defaults are used.");
        }
        struct stat info {};
        if (::stat(m_path.c_str(), &info) == 0) {
            m_inode = static_cast<long long>(info.st_ino);
            m_size = info.st_size;
            m_modified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
        }
    }
    std::string defaults;
    std::optional<RegistryKeys> shipped;
    if (readText(defaultsPath(), defaults) && (shipped = ParseRegistry(defaults, error))) {
        bool imported = false;
        for (auto& [folded, key] : *shipped)
            imported = m_keys.emplace(folded, key).second || imported;
        if (imported)
            writeThrough();
    }
}

bool RegistryStore::change(const std::function<void(RegistryKeys&)>& apply) {
    std::lock_guard guard(m_lock);
    const std::string path = RegistryStorePath();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    const StoreLock lock(path);
    // Read again whatever the file's stamp says: another process may have written a file of the same size, in the
    // same clock tick, on an inode number that ours had, and its change must not be lost.
    m_loaded = false;
    refresh();
    apply(m_keys);
    return writeThrough();
}

// The whole store to a temporary file beside it, renamed over it.
bool RegistryStore::writeThrough() {
    std::string temporary = m_path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool written = writeAll(fd, FormatRegistry(m_keys)) && ::fchmod(fd, 0644) == 0;
    const long long now = nowInMilliseconds();
    if (written && now - m_lastSync >= 1000) {
        written = ::fsync(fd) == 0;
        m_lastSync = now;
        m_unsynced = false;
    } else {
        m_unsynced = true;
    }
    ::close(fd);
    if (!written || std::rename(temporary.c_str(), m_path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    struct stat info {};
    if (::stat(m_path.c_str(), &info) == 0) {
        m_inode = static_cast<long long>(info.st_ino);
        m_size = info.st_size;
        m_modified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    }
    return true;
}

void RegistryStore::sync() {
    std::lock_guard guard(m_lock);
    if (!m_unsynced)
        return;
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    m_unsynced = false;
    m_lastSync = nowInMilliseconds();
}
