#include "win/RegistryStore.h"

#include "win/RegistryStoreFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

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
    m_refused = false;
    m_reported.clear();
    m_keys.clear();
}

// A load writes (defaults imported, a store set aside), so it happens under the file lock like a change.
void RegistryStore::refresh() {
    const std::string path = RegistryStorePath();
    if (m_loaded && m_path == path && !changedOnDisk())
        return;
    const StoreLock lock(path);
    load(path);
}

bool RegistryStore::changedOnDisk() const {
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0)
        return m_inode != -1;
    return static_cast<long long>(info.st_ino) != m_inode || info.st_size != m_size ||
           info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec != m_modified;
}

void RegistryStore::rememberStamp() {
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0) {
        m_inode = m_size = m_modified = -1;
        return;
    }
    m_inode = static_cast<long long>(info.st_ino);
    m_size = info.st_size;
    m_modified = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
}

// A refused store keeps the changes made in memory since it was refused: each change loads the store again.
void RegistryStore::load(const std::string& path) {
    const bool wasRefused = m_refused && m_path == path;
    m_path = path;
    m_loaded = true;
    m_refused = false;
    std::optional<RegistryKeys> keys = readStore();
    rememberStamp();
    if (keys)
        m_keys = std::move(*keys);
    else if (!wasRefused)
        m_keys.clear();
    if (importDefaults() && !m_refused)
        writeThrough();
}

// The store's keys; nothing when it is refused. A text that is no store is set aside.
std::optional<RegistryKeys> RegistryStore::readStore() {
    RegistryStoreFile file = RegistryStoreFile::Read(m_path);
    if (file.state == RegistryStoreFile::State::Missing)
        return RegistryKeys{};
    if (file.state == RegistryStoreFile::State::Refused)
        return refuse(file.reason);
    std::string problem;
    if (std::optional<RegistryKeys> keys = ParseRegistry(file.text, problem)) {
        if (!problem.empty())
            reportOnce("The settings store '" + m_path + "' holds lines that could not be read (" + problem +
                       "); they are kept as written and ignored.");
        return keys;
    }
    const std::string aside = RegistryStoreFile::SetAside(m_path);
    if (aside.empty())
        return refuse("could not be read (" + problem + ") nor be set aside");
    reportOnce("The settings store '" + m_path + "' could not be read (" + problem + "); it was kept as '" + aside +
               "' and the defaults are used.");
    return RegistryKeys{};
}

std::nullopt_t RegistryStore::refuse(const std::string& reason) {
    m_refused = true;
    reportOnce("The settings store '" + m_path + "' " + reason +
               "; it is left as it is, the defaults are used and changes are not kept.");
    return std::nullopt;
}

void RegistryStore::reportOnce(const std::string& message) {
    if (message == m_reported)
        return;
    m_reported = message;
    report(message);
}

// Keys absent from the store, from the defaults file; whether any was added.
bool RegistryStore::importDefaults() {
    const RegistryStoreFile defaults = RegistryStoreFile::Read(defaultsPath());
    std::string error;
    std::optional<RegistryKeys> shipped;
    if (defaults.state != RegistryStoreFile::State::Read || !(shipped = ParseRegistry(defaults.text, error)))
        return false;
    bool imported = false;
    for (auto& [folded, key] : *shipped)
        imported = m_keys.emplace(folded, key).second || imported;
    return imported;
}

bool RegistryStore::change(const std::function<void(RegistryKeys&)>& apply) {
    std::lock_guard guard(m_lock);
    const std::string path = RegistryStorePath();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    const StoreLock lock(path);
    // Read again whatever the file's stamp says: another process may have written a file of the same size, in the
    // same clock tick, on an inode number that ours had, and its change must not be lost.
    load(path);
    apply(m_keys);
    return !m_refused && writeThrough();
}

// The whole store to a temporary file beside it, renamed over it. A store that is a symbolic link has its target
// written, and a store keeps the permissions the person gave it.
bool RegistryStore::writeThrough() {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(m_path, error);
    const std::string target = error ? m_path : resolved.string();
    struct stat info {};
    const mode_t mode = ::stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool written = writeAll(fd, FormatRegistry(m_keys)) && ::fchmod(fd, mode) == 0;
    const long long now = nowInMilliseconds();
    if (written && now - m_lastSync >= 1000) {
        written = ::fsync(fd) == 0;
        m_lastSync = now;
        m_unsynced = false;
    } else {
        m_unsynced = true;
    }
    ::close(fd);
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    rememberStamp();
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
