#include "win/RegistryStoreFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond any store of settings; a larger file is no store of ours.
constexpr off_t MaxStoreSize = 64 << 20;
constexpr int MaxSetAside = 1000;

RegistryStoreFile refused(std::string reason) {
    RegistryStoreFile file;
    file.state = RegistryStoreFile::State::Refused;
    file.reason = std::move(reason);
    return file;
}

// UTF-16 text begins with its byte-order mark, or has a zero in one of its first two bytes.
bool isUtf16(const std::string& text) {
    if (text.size() < 2)
        return false;
    const auto first = static_cast<unsigned char>(text[0]), second = static_cast<unsigned char>(text[1]);
    return (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF) || first == 0 || second == 0;
}

bool readAll(int fd, std::string& text) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (text.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(MaxStoreSize)) {
            errno = EFBIG; // it grew while read
            return false;
        }
        if (n == 0)
            return true;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

} // namespace

RegistryStoreFile RegistryStoreFile::Read(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? RegistryStoreFile{} : refused(std::string("cannot be read: ") + std::strerror(errno));
    struct stat info {};
    RegistryStoreFile file;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        file = refused("is not a regular file");
    else if (info.st_size > MaxStoreSize)
        file = refused("is larger than any settings store (" + std::to_string(MaxStoreSize >> 20) + " MiB)");
    else if (!readAll(fd, file.text))
        file = refused(std::string("cannot be read: ") + std::strerror(errno));
    else if (isUtf16(file.text))
        file = refused("is UTF-16 text; convert it to UTF-8 (iconv -f UTF-16 -t UTF-8) to use it");
    else
        file.state = State::Read;
    ::close(fd);
    return file;
}

std::string RegistryStoreFile::SetAside(const std::string& path) {
    for (int n = 1; n <= MaxSetAside; ++n) {
        const std::string aside = path + (n == 1 ? std::string(".bad") : ".bad." + std::to_string(n));
        if (exists(aside))
            continue;
        return std::rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
    }
    return {};
}
