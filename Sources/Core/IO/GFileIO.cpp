#include "IO/GFileIO.h"

#include "Classes/GClassBoilerplate.h"
#include "Errors/SystemError.h"
#include "IO/GIOException.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

G_IMPLEMENT_CAST(GFileIO, GIO)

namespace {

[[noreturn]] void raiseSystemError() {
    throw new GFileIOException(SystemErrorText(errno));
}

// Sharing is kept with open-file-description locks on four bytes far beyond any data: a shared lock on
// "access k" for each way the handle uses the file, and on "deny k" for each way it does not let others use it.
// An opening is refused when it would use a way that an open handle denies, or deny a way an open handle uses.
constexpr off_t LockBase = 0x7FFFFFFFFFFFFF00;
enum LockByte : off_t { AccessRead, AccessWrite, DenyRead, DenyWrite };

flock lockRequest(short type, LockByte byte) {
    flock request{};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = LockBase + byte;
    request.l_len = 1;
    return request;
}

// Whether another open file description holds a lock on the byte.
bool isHeld(int fd, LockByte byte) {
    flock probe = lockRequest(F_WRLCK, byte);
    return fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

bool hold(int fd, LockByte byte) {
    flock request = lockRequest(F_RDLCK, byte);
    return fcntl(fd, F_OFD_SETLK, &request) == 0;
}

int accessFlags(GIO::IOOpenMode mode) {
    return mode == GIO::ReadWrite ? O_RDWR : mode == GIO::WriteOnly ? O_WRONLY : O_RDONLY;
}

int createFlags(GFileIO::IOCreateMode mode) {
    switch (mode) {
    case GFileIO::CreateNew:
        return O_CREAT | O_EXCL;
    case GFileIO::OpenAlways:
    case GFileIO::CreateAlways:
        return O_CREAT; // CreateAlways truncates only once the sharing allows the opening
    default:
        return 0;
    }
}

} // namespace

GFileIO::GFileIO(const char* name, IOOpenMode openMode, IOCreateMode createMode, IOShareMode shareMode) {
    open(name, openMode, createMode, shareMode);
}

GFileIO::~GFileIO() {
    close();
}

bool GFileIO::open(const char* name, IOOpenMode openMode, IOCreateMode createMode, IOShareMode shareMode) {
    if (is_opened() || name == nullptr)
        return false;
    m_fd = ::open(name, accessFlags(openMode) | createFlags(createMode) | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return false;
    m_openMode = openMode;
    m_createMode = createMode;
    m_shareMode = shareMode;
    m_lockFd = canRead(openMode) ? m_fd : ::open(name, O_RDONLY | O_CLOEXEC);
    if (!claimSharing()) {
        close();
        return false;
    }
    if (createMode == CreateAlways && ftruncate(m_fd, 0) != 0) {
        close();
        return false;
    }
    struct stat info {};
    m_positional = fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode);
    m_position = 0;
    return true;
}

// Checks the open handles' sharing against this opening, then records this handle's own use and sharing.
// A handle whose file cannot be opened for reading (write-only permission) takes no part in sharing.
bool GFileIO::claimSharing() {
    if (m_lockFd < 0)
        return true;
    const bool reads = canRead(m_openMode);
    const bool writes = canWrite(m_openMode);
    const bool deniesRead = (m_shareMode & ShareRead) == 0;
    const bool deniesWrite = (m_shareMode & ShareWrite) == 0;
    if ((reads && isHeld(m_lockFd, DenyRead)) || (writes && isHeld(m_lockFd, DenyWrite)) ||
        (deniesRead && isHeld(m_lockFd, AccessRead)) || (deniesWrite && isHeld(m_lockFd, AccessWrite)))
        return false;
    return (!reads || hold(m_lockFd, AccessRead)) && (!writes || hold(m_lockFd, AccessWrite)) &&
           (!deniesRead || hold(m_lockFd, DenyRead)) && (!deniesWrite || hold(m_lockFd, DenyWrite));
}

void GFileIO::close() {
    if (m_lockFd >= 0 && m_lockFd != m_fd)
        ::close(m_lockFd);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = m_lockFd = -1;
}

void GFileIO::change_size(long n) {
    gseek(n, FromBegin);
    if (ftruncate(m_fd, n) != 0)
        raiseSystemError();
}

void GFileIO::sync() {
    if (fdatasync(m_fd) != 0)
        raiseSystemError();
}

bool GFileIO::take_permissions_of(const GFileIO& other) {
    struct stat info {};
    return fstat(other.m_fd, &info) == 0 && fchmod(m_fd, info.st_mode & 07777) == 0;
}

// Regular files keep their position here and are read and written at it (pread, pwrite): seeking and telling
// cost no system call. Other files (pipes, devices) use the system's position.
long GFileIO::gseek(long offset, IOSeekDirection direction) {
    if (!m_positional) {
        const int whence = direction == FromBegin ? SEEK_SET : direction == FromCurrent ? SEEK_CUR : SEEK_END;
        const off_t position = lseek(m_fd, offset, whence);
        if (position < 0)
            raiseSystemError();
        return position;
    }
    off_t origin = direction == FromBegin ? 0 : m_position;
    if (direction == FromEnd) {
        struct stat info {};
        if (fstat(m_fd, &info) != 0)
            raiseSystemError();
        origin = info.st_size;
    }
    off_t position = 0;
    if (__builtin_add_overflow(origin, offset, &position) || position < 0) {
        errno = EINVAL;
        raiseSystemError();
    }
    m_position = position;
    return m_position;
}

std::size_t GFileIO::gwrite(const void* data, std::size_t count) {
    const char* p = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < count) {
        const ssize_t n = m_positional ? ::pwrite(m_fd, p + written, count - written, m_position)
                                       : ::write(m_fd, p + written, count - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO; // a write that takes nothing and reports no error
        if (n <= 0)
            raiseSystemError();
        written += static_cast<std::size_t>(n);
        m_position += n;
    }
    return written;
}

std::size_t GFileIO::gread(void* buffer, std::size_t count) {
    char* p = static_cast<char*>(buffer);
    std::size_t read = 0;
    while (read < count) {
        const ssize_t n =
            m_positional ? ::pread(m_fd, p + read, count - read, m_position) : ::read(m_fd, p + read, count - read);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            raiseSystemError();
        if (n == 0)
            break;
        read += static_cast<std::size_t>(n);
        m_position += n;
    }
    return read;
}
