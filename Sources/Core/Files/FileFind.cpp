#include "Files/FileFind.h"

#include "Files/FileSystem.h"

namespace {

constexpr DWORD FileAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL;

std::tm brokenDown(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    local.tm_wday = local.tm_yday = local.tm_isdst = 0;
    return local;
}

} // namespace

FileFind::FileFind(const char* mask, int mode, bool fullNames) {
    first(mask, mode, fullNames);
}

FileFind::~FileFind() {
    close();
}

void FileFind::close() {
    FindClose(m_search);
    m_search = INVALID_FIND_HANDLE;
}

bool FileFind::first(const char* mask, int mode, bool fullNames) {
    close();
    const GFile whole(mask);
    m_directory = whole.get_directory();
    m_pattern = whole.get_name();
    if (m_pattern.isEmpty())
        m_pattern = "*.*";
    m_mode = mode;
    m_fullNames = fullNames;
    m_sawParent = m_parentAdded = false;
    m_atRoot = GFile(m_directory.isEmpty() ? "." : static_cast<const char*>(m_directory)).expand() == GString("/");
    m_found = false;
    // Drives would come first; this platform has none.
    WIN32_FIND_DATAA entry;
    m_search = FindFirstFileA(m_directory.isEmpty() ? "." : static_cast<const char*>(m_directory), entry);
    if (m_search == INVALID_FIND_HANDLE)
        return false;
    if (!consider(entry))
        next();
    return m_found;
}

FileFind& FileFind::operator++() {
    next();
    return *this;
}

void FileFind::next() {
    m_found = false;
    WIN32_FIND_DATAA entry;
    while (m_search != INVALID_FIND_HANDLE && FindNextFileA(m_search, entry))
        if (consider(entry))
            return;
    close();
    // A directory listing always offers the way up, except at the root.
    if ((m_mode & Directories) != 0 && !m_sawParent && !m_parentAdded && !m_atRoot) {
        m_parentAdded = true;
        WIN32_FIND_DATAA parent;
        parent.name = "..";
        parent.attributes = FILE_ATTRIBUTE_DIRECTORY;
        report(Directory, parent);
    }
}

// Reports the entry when it is wanted.
bool FileFind::consider(const WIN32_FIND_DATAA& entry) {
    const bool directory = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directory && entry.name == "..") {
        m_sawParent = true;
        if (m_atRoot) // the system lists a way up from the root here; Windows does not
            return false;
    }
    const bool wanted = directory
                            ? (m_mode & Directories) != 0 && (entry.name[0] != '.' || entry.name.starts_with(".."))
                            : (m_mode & Files) != 0 && (entry.attributes & ~FileAttributes) == 0 &&
                                  FileSystem::Match(entry.name.c_str(), m_pattern);
    if (wanted)
        report(directory ? Directory : File, entry);
    return wanted;
}

void FileFind::report(int entryKind, const WIN32_FIND_DATAA& entry) {
    m_found = true;
    kind = entryKind;
    size = entry.size;
    time = brokenDown(entry.modified);
    name = entry.name.c_str();
    if (!m_fullNames && !m_directory.isEmpty())
        name = GFile(m_directory).add_name(entry.name.c_str());
}
