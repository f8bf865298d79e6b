#include "ToolFiles.h"

#include "Errors/GLibraryExceptions.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw std::runtime_error("'" + path + "' " + what);
}

[[noreturn]] void failWithSystemError(const std::string& path, const char* step) {
    fail(path, std::string(step) + ": " + std::strerror(errno));
}

// A file of `size` bytes must have some from `offset` on.
void checkExtent(const std::string& path, std::uint64_t size, std::uint64_t offset) {
    if (size == 0)
        fail(path, "is empty");
    if (offset >= size)
        fail(path,
             "has " + std::to_string(size) + " bytes: offset " + std::to_string(offset) + " is at or past its end");
}

// Closes the descriptor when the read ends, however it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

[[noreturn]] void failTooLarge(const std::string& path) {
    fail(path, "is larger than " + std::to_string(MaxToolInput) + " bytes");
}

// Everything from the current position to the end; pipes and special files have no size to trust.
std::vector<unsigned char> readToEnd(int fd, const std::string& path) {
    std::vector<unsigned char> data;
    unsigned char piece[64 * 1024];
    for (;;) {
        if (data.size() > MaxToolInput)
            failTooLarge(path);
        const ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failWithSystemError(path, "cannot be read");
        if (n == 0)
            return data;
        data.insert(data.end(), piece, piece + n);
    }
}

} // namespace

std::vector<unsigned char> readToolInput(const std::string& path, std::uint64_t offset) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        throw new FileIsAbsent_Exception(path.c_str());
    if (fd < 0)
        failWithSystemError(path, "cannot be opened");
    const Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        failWithSystemError(path, "cannot be examined");
    if (S_ISDIR(info.st_mode))
        fail(path, "is a directory, not a file");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        fail(path, "is a device, not a file");
    if (S_ISREG(info.st_mode)) {
        checkExtent(path, static_cast<std::uint64_t>(info.st_size), offset);
        if (static_cast<std::uint64_t>(info.st_size) - offset > MaxToolInput)
            failTooLarge(path);
        if (::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0)
            failWithSystemError(path, "cannot be read");
        return readToEnd(fd, path);
    }
    std::vector<unsigned char> data = readToEnd(fd, path);
    checkExtent(path, data.size(), offset);
    data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(offset));
    return data;
}

void writeToolOutput(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        failWithSystemError(path, "cannot be written");
    bool written = true;
    {
        const Descriptor file(fd);
        for (std::size_t at = 0; at < bytes.size() && written;) {
            const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
            if (n < 0 && errno == EINTR)
                continue;
            written = n > 0;
            at += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        written = written && ::fsync(fd) == 0;
    }
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    if (!written || ::chmod(temporary.c_str(), mode) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        failWithSystemError(path, "cannot be written");
    }
}

std::optional<std::uint64_t> parseCount(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    if (first == last || *first == '+' || *first == '-')
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

std::optional<long> parseSigned(const std::string& text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return value;
}
