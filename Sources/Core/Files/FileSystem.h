#pragma once
// FileSystem: static operations on the file system. Failures are reported by the results (false, 0, an empty
// name); GetError gives the system's error number of the last failure on the calling thread.

#include "Files/GFile.h"

#include <ctime>

class FileSystem {
public:
    static GFile GetCurrentDirectoryA();
    static bool SetCurrentDirectoryA(const char* directory);
    // Creates every missing level of the expanded path from the top down; true when the whole path exists then.
    static bool CreateDirectoryA(const char* directory);
    // $TMPDIR, else /tmp, ending with '/'.
    static GFile GetTemporaryDirectory();

    // The free-space numbers of the file system holding `path`, as 32-bit counts (held at their largest value
    // when they do not fit); false on failure.
    static bool GetDriveInfo(const char* path, DWORD& sectorsPerCluster, DWORD& bytesPerSector, DWORD& freeClusters,
                             DWORD& totalClusters);
    // Free bytes for the user, 0 on failure. 64 bits here: today's disks pass 4 GB.
    static unsigned long long GetDirectoryFreeSpace(const char* path);
    static GFile::DriveType GetDriveTypeA(const char* path);

    // Wildcard match, case-insensitive: '?' is any one character but '.', and '*' stands for the rest of the base
    // name (both sides then go on from their last '.'). So "*.*" matches every name and "*" only names without
    // an extension.
    static bool Match(const char* name, const char* pattern);
    // As GFile::compare.
    static int Compare(const char* a, const char* b);

    static bool Exists(const GFile& file) { return file.exists(); }
    static bool Remove(const char* file);
    // Overwrites the target, through a temporary file, so a failed copy leaves the target as it was.
    static bool Copy(const char* from, const char* to);
    // Fails when the target exists.
    static bool Move(const char* from, const char* to);
    // Sets the modification time from a broken-down local time.
    static bool SetTime(const char* name, const std::tm& time);
    // File types belong to another platform's file system: nothing to do here.
    static void SetType(const char*, DWORD) {}
    static DWORD GetPICTFileType() { return 0x50494354; } // 'PICT'

    // Tries each directory of the ';'-separated list with the file's name; the first that exists is stored in
    // `file`.
    static bool SearchFile(const char* pathList, GFile& file);
    // Fills the `placeholder` characters of the name with letters until no file of that name exists.
    static bool UniqueName(GFile& file, char placeholder);

    static const char* GetDirectorySeparator() { return "/"; }
    static const char* GetExtensionSeparator() { return "."; }
    static const char* GetParentDirectoryName() { return ".."; }
    static DWORD GetError();
};
