#include "Files/FileSystem.h"

#include "win/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

thread_local DWORD lastError = 0;

bool failed() {
    lastError = GetLastError();
    return false;
}

bool succeeded(BOOL result) {
    return result ? true : failed();
}

DWORD held32(unsigned long long value) {
    return static_cast<DWORD>(std::min<unsigned long long>(value, std::numeric_limits<DWORD>::max()));
}

char folded(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Where '*' sends a side: just after its last '.', or its end.
const char* afterLastDot(const char* text) {
    const char* dot = std::strrchr(text, '.');
    return dot != nullptr ? dot + 1 : text + std::strlen(text);
}

} // namespace

GFile FileSystem::GetCurrentDirectoryA() {
    std::string directory = GetFullPathName("");
    if (directory.size() > 1)
        directory.pop_back();
    return GFile(directory.c_str());
}

bool FileSystem::SetCurrentDirectoryA(const char* directory) {
    return ::chdir(directory) == 0 || failed();
}

bool FileSystem::CreateDirectoryA(const char* directory) {
    const std::string full = GetFullPathName(directory);
    for (std::size_t slash = full.find('/', 1); slash != std::string::npos; slash = full.find('/', slash + 1)) {
        const std::string level = full.substr(0, slash);
        if (!GFile(level.c_str()).isDirectory())
            ::CreateDirectoryA(level.c_str());
    }
    if (!GFile(full.c_str()).isDirectory())
        ::CreateDirectoryA(full.c_str());
    return GFile(full.c_str()).isDirectory() || failed();
}

GFile FileSystem::GetTemporaryDirectory() {
    return GFile(GetTempPath().c_str());
}

bool FileSystem::GetDriveInfo(const char* path, DWORD& sectorsPerCluster, DWORD& bytesPerSector, DWORD& freeClusters,
                              DWORD& totalClusters) {
    std::uint64_t blockSize = 0, freeBlocks = 0, totalBlocks = 0;
    if (!GetDiskSpace(path, blockSize, freeBlocks, totalBlocks))
        return failed();
    sectorsPerCluster = 1;
    bytesPerSector = held32(blockSize);
    freeClusters = held32(freeBlocks);
    totalClusters = held32(totalBlocks);
    return true;
}

unsigned long long FileSystem::GetDirectoryFreeSpace(const char* path) {
    std::uint64_t blockSize = 0, freeBlocks = 0, totalBlocks = 0;
    if (!GetDiskSpace(path, blockSize, freeBlocks, totalBlocks)) {
        failed();
        return 0;
    }
    return blockSize * freeBlocks;
}

GFile::DriveType FileSystem::GetDriveTypeA(const char* path) {
    const UINT type = ::GetDriveTypeA(path);
    return type >= DRIVE_REMOVABLE && type <= DRIVE_RAMDISK ? static_cast<GFile::DriveType>(type - 1) : GFile::NoRoot;
}

bool FileSystem::Match(const char* name, const char* pattern) {
    while (*pattern != '\0') {
        if (*pattern == '*') {
            name = afterLastDot(name);
            pattern = afterLastDot(pattern);
            continue;
        }
        if (*name == '\0')
            break;
        const bool same = *pattern == '?' ? *name != '.' : folded(*pattern) == folded(*name);
        if (!same)
            return false;
        ++name;
        ++pattern;
    }
    while (*pattern == '*')
        ++pattern;
    return *name == '\0' && *pattern == '\0';
}

int FileSystem::Compare(const char* a, const char* b) {
    return GFile(a).compare(b);
}

bool FileSystem::Remove(const char* file) {
    return succeeded(DeleteFileA(file));
}

bool FileSystem::Copy(const char* from, const char* to) {
    return succeeded(CopyFileA(from, to, FALSE));
}

bool FileSystem::Move(const char* from, const char* to) {
    return succeeded(MoveFileA(from, to));
}

bool FileSystem::SetTime(const char* name, const std::tm& time) {
    std::tm local = time;
    local.tm_isdst = -1;
    return succeeded(SetFileModificationTime(name, std::mktime(&local)));
}

bool FileSystem::SearchFile(const char* pathList, GFile& file) {
    const std::string list = pathList != nullptr ? pathList : "";
    const GFile name = file.get_name();
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        GFile candidate(list.substr(start, end - start).c_str());
        candidate.add_name(name);
        if (candidate.exists()) {
            file = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool FileSystem::UniqueName(GFile& file, char placeholder) {
    if (file.isEmpty())
        return false;
    std::vector<unsigned> places;
    for (unsigned i = 0; i < file.length(); ++i)
        if (file.at(i) == placeholder) {
            places.push_back(i);
            file.at(i, 'a');
        }
    if (places.empty())
        return !file.exists();
    std::minstd_rand random(std::random_device{}());
    // Bounded: every free name is as likely as another, and a directory cannot hold them all taken for long.
    for (int attempt = 0; attempt < 1 << 16 && file.exists(); ++attempt)
        for (auto place = places.rbegin(); place != places.rend(); ++place)
            file.at(*place, static_cast<char>('a' + random() % 26));
    return !file.exists();
}

DWORD FileSystem::GetError() {
    return lastError;
}
