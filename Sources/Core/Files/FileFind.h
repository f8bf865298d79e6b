#pragma once
// FileFind: enumerates the files, directories and drives that a mask names, filling its FileInfo part for each.
// The mask's directory part is searched and its name part is the pattern (FileSystem::Match). Files are reported
// when their name matches; directories whatever their name, except those starting with '.' other than "..".
// There are no drives here.

#include "Files/FileInfo.h"
#include "win/Files.h"

class FileFind : public FileInfo {
public:
    enum Mode { Files = 1, Directories = 2, Drives = 4 };

    FileFind() = default;
    // `fullNames` false: names are prefixed with the searched directory.
    explicit FileFind(const char* mask, int mode = Files, bool fullNames = false);
    ~FileFind();
    FileFind(const FileFind&) = delete;
    FileFind& operator=(const FileFind&) = delete;

    bool first(const char* mask, int mode = Files, bool fullNames = false);
    // An entry is current.
    operator int() const { return m_found ? 1 : 0; }
    FileFind& operator++();

private:
    void next();
    bool consider(const WIN32_FIND_DATAA& entry);
    void report(int kind, const WIN32_FIND_DATAA& entry);
    void close();

    bool m_found = false;
    int m_mode = Files;
    bool m_fullNames = false;
    GFile m_directory;
    GFile m_pattern;
    HFIND m_search = INVALID_FIND_HANDLE;
    bool m_sawParent = false;
    bool m_parentAdded = false;
    bool m_atRoot = false;
};
