#include "win/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

struct DirectorySearch {
    DIR* directory;
    std::string path;
};

namespace {

std::string currentDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

const char* lastComponent(const char* name) {
    const char* slash = std::strrchr(name, '/');
    return slash != nullptr ? slash + 1 : name;
}

bool fillFindData(DirectorySearch& search, WIN32_FIND_DATAA& data) {
    errno = 0;
    const dirent* entry = ::readdir(search.directory);
    if (entry == nullptr)
        return false;
    data.name = entry->d_name;
    const std::string full = search.path + "/" + data.name;
    struct stat info {};
    if (::stat(full.c_str(), &info) != 0 && ::lstat(full.c_str(), &info) != 0)
        info = {};
    data.attributes = GetFileAttributesA(full.c_str());
    if (data.attributes == INVALID_FILE_ATTRIBUTES)
        data.attributes = FILE_ATTRIBUTE_DEVICE;
    data.size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    data.modified = info.st_mtime;
    return true;
}

} // namespace

DWORD GetFileAttributesA(const char* name) {
    struct stat info {};
    if (name == nullptr || *name == '\0' || ::stat(name, &info) != 0)
        return INVALID_FILE_ATTRIBUTES;
    DWORD attributes = S_ISDIR(info.st_mode)   ? FILE_ATTRIBUTE_DIRECTORY
                       : S_ISREG(info.st_mode) ? FILE_ATTRIBUTE_NORMAL
                                               : FILE_ATTRIBUTE_DEVICE;
    const char* last = lastComponent(name);
    if (last[0] == '.' && last[1] != '\0' && std::strcmp(last, "..") != 0)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (::access(name, W_OK) != 0 && attributes != FILE_ATTRIBUTE_DEVICE)
        attributes = (attributes & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_READONLY;
    return attributes;
}

std::string GetFullPathName(const char* name) {
    const std::string text = name != nullptr ? name : "";
    const std::string whole = !text.empty() && text[0] == '/' ? text : currentDirectory() + "/" + text;
    std::vector<std::string> parts;
    std::size_t start = 1;
    while (start <= whole.size()) {
        std::size_t end = whole.find('/', start);
        if (end == std::string::npos)
            end = whole.size();
        const std::string part = whole.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    const bool trailing = text.empty() || text.back() == '/' || text.ends_with("/.") || text.ends_with("/..") ||
                          text == "." || text == "..";
    if (result.empty() || trailing)
        result += "/";
    return result;
}

BOOL CreateDirectoryA(const char* name) {
    return ::mkdir(name, 0777) == 0 ? TRUE : FALSE;
}

BOOL DeleteFileA(const char* name) {
    struct stat info {};
    if (::lstat(name, &info) != 0)
        return FALSE;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return FALSE;
    }
    return ::unlink(name) == 0 ? TRUE : FALSE;
}

BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists) {
    struct stat info {};
    if (::stat(from, &info) != 0)
        return FALSE;
    if (!S_ISREG(info.st_mode)) {
        errno = EISDIR;
        return FALSE;
    }
    if (failIfExists && ::access(to, F_OK) == 0) {
        errno = EEXIST;
        return FALSE;
    }
    std::string temporary = std::string(to) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return FALSE;
    ::close(fd);
    {
        std::ifstream in(from, std::ios::binary);
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
        out.flush();
        if (!in.good() && !in.eof())
            out.setstate(std::ios::failbit);
        if (!out) {
            ::unlink(temporary.c_str());
            errno = EIO;
            return FALSE;
        }
    }
    ::chmod(temporary.c_str(), info.st_mode & 07777);
    if (::rename(temporary.c_str(), to) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileA(const char* from, const char* to) {
    struct stat info {};
    if (::lstat(to, &info) == 0) {
        errno = EEXIST;
        return FALSE;
    }
    if (::rename(from, to) == 0)
        return TRUE;
    if (errno != EXDEV || !CopyFileA(from, to, TRUE))
        return FALSE;
    return ::unlink(from) == 0 ? TRUE : FALSE;
}

BOOL MoveFileExA(const char* from, const char* to, DWORD flags) {
    struct stat info {};
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0 && ::lstat(to, &info) == 0) {
        errno = EEXIST;
        return FALSE;
    }
    if (::rename(from, to) != 0)
        return FALSE;
    if ((flags & MOVEFILE_WRITE_THROUGH) == 0)
        return TRUE;
    const std::string name(to);
    const std::size_t slash = name.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced ? TRUE : FALSE;
}

BOOL SetFileModificationTime(const char* name, std::time_t time) {
    const timespec times[2] = {{0, UTIME_OMIT}, {time, 0}};
    return ::utimensat(AT_FDCWD, name, times, 0) == 0 ? TRUE : FALSE;
}

std::string GetTempPath() {
    const char* directory = std::getenv("TMPDIR");
    std::string path = directory != nullptr && *directory != '\0' ? directory : "/tmp";
    if (path.back() != '/')
        path += '/';
    return path;
}

BOOL GetDiskSpace(const char* path, std::uint64_t& blockSize, std::uint64_t& freeBlocks, std::uint64_t& totalBlocks) {
    struct statvfs info {};
    if (::statvfs(path, &info) != 0)
        return FALSE;
    blockSize = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    freeBlocks = info.f_bavail;
    totalBlocks = info.f_blocks;
    return TRUE;
}

UINT GetDriveTypeA(const char* path) {
    struct statfs info {};
    if (path == nullptr || ::statfs(path, &info) != 0)
        return DRIVE_NO_ROOT_DIR;
    switch (static_cast<unsigned long>(info.f_type)) {
    case TMPFS_MAGIC:
    case RAMFS_MAGIC:
        return DRIVE_RAMDISK;
    case NFS_SUPER_MAGIC:
    case SMB_SUPER_MAGIC:
    case 0xFF534D42: // CIFS
    case 0x65735546: // FUSE
        return DRIVE_REMOTE;
    case ISOFS_SUPER_MAGIC:
    case 0x15013346: // UDF
        return DRIVE_CDROM;
    default:
        return DRIVE_FIXED;
    }
}

HFIND FindFirstFileA(const char* directory, WIN32_FIND_DATAA& data) {
    const std::string path = directory != nullptr && *directory != '\0' ? directory : ".";
    DIR* handle = ::opendir(path.c_str());
    if (handle == nullptr)
        return INVALID_FIND_HANDLE;
    auto* search = new DirectorySearch{handle, path};
    if (!fillFindData(*search, data)) {
        FindClose(search);
        return INVALID_FIND_HANDLE;
    }
    return search;
}

BOOL FindNextFileA(HFIND search, WIN32_FIND_DATAA& data) {
    return search != nullptr && fillFindData(*search, data) ? TRUE : FALSE;
}

void FindClose(HFIND search) {
    if (search == nullptr)
        return;
    ::closedir(search->directory);
    delete search;
}

DWORD GetLastError() {
    return static_cast<DWORD>(errno);
}
