#pragma once
// The Win32 file calls the core uses, on POSIX: attributes, full path names, directories, deleting, copying and
// moving files, the temporary path, disk space, drive types and directory searches. Names use '/' as this
// platform does; there are no drive letters. Failures set errno, which GetLastError gives.

#include "win/Win32Types.h"

#include <cstdint>
#include <ctime>
#include <string>

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_DEVICE = 0x40;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// What the attributes of a name are here: a directory; a regular file (normal); anything else (device, pipe,
// socket) is a device. A name whose last component starts with '.' is hidden, and one the process may not write
// is read-only.
DWORD GetFileAttributesA(const char* name);

// The absolute form of `name`: the current directory before a relative name, "." and ".." components worked out
// as text (nothing needs to exist, links are not followed), a trailing '/' kept.
std::string GetFullPathName(const char* name);

// Creates one directory level.
BOOL CreateDirectoryA(const char* name);
BOOL DeleteFileA(const char* name);
// Copies through a temporary file beside the target, renamed over it when complete, so a failed copy leaves the
// target as it was. With `failIfExists`, an existing target makes it fail.
BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists);
// Fails when the target exists; moves across file systems by copying.
BOOL MoveFileA(const char* from, const char* to);
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
inline constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;
// Renames `from` to `to` within one file system. With MOVEFILE_REPLACE_EXISTING an existing target is replaced
// in one step (readers see the old file or the new one, never neither); with MOVEFILE_WRITE_THROUGH the new
// directory entry is durable when it returns.
BOOL MoveFileExA(const char* from, const char* to, DWORD flags);
BOOL SetFileModificationTime(const char* name, std::time_t time);

// $TMPDIR, else /tmp, with a '/' at the end.
std::string GetTempPath();

// The space of the file system holding `path`: bytes per block, free blocks for the user, all blocks.
BOOL GetDiskSpace(const char* path, std::uint64_t& blockSize, std::uint64_t& freeBlocks, std::uint64_t& totalBlocks);

inline constexpr UINT DRIVE_UNKNOWN = 0;
inline constexpr UINT DRIVE_NO_ROOT_DIR = 1;
inline constexpr UINT DRIVE_REMOVABLE = 2;
inline constexpr UINT DRIVE_FIXED = 3;
inline constexpr UINT DRIVE_REMOTE = 4;
inline constexpr UINT DRIVE_CDROM = 5;
inline constexpr UINT DRIVE_RAMDISK = 6;
// The kind of the file system holding `path`, from its type; DRIVE_NO_ROOT_DIR when the path does not exist.
UINT GetDriveTypeA(const char* path);
// No drive letters here.
inline DWORD GetLogicalDrives() {
    return 0;
}

// One entry of a directory search.
struct WIN32_FIND_DATAA {
    DWORD attributes = 0;
    std::uint64_t size = 0;
    std::time_t modified = 0;
    std::string name;
};
using HFIND = struct DirectorySearch*;
inline const HFIND INVALID_FIND_HANDLE = nullptr;
// Every entry of `directory` ("." and ".." included), in the order the system gives them.
HFIND FindFirstFileA(const char* directory, WIN32_FIND_DATAA& data);
BOOL FindNextFileA(HFIND search, WIN32_FIND_DATAA& data);
void FindClose(HFIND search);

// errno of the calling thread.
DWORD GetLastError();
