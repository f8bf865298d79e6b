#pragma once
// RegistryStoreFile: the settings store's file as found on disk. Only a regular file is read, without waiting
// (a FIFO or a device is refused, not opened for reading), and only up to a size no store reaches; a file that
// exists but cannot be read, or is UTF-16 text as other tools export it, is refused whole and left as it is.

#include <string>

class RegistryStoreFile {
public:
    enum class State { Missing, Read, Refused };

    static RegistryStoreFile Read(const std::string& path);
    // Renames the store to the first free name of path.bad, path.bad.2, path.bad.3, ...: a store set aside never
    // replaces an earlier one. The name it got, or "" when it could not be set aside. Called under the store's lock.
    static std::string SetAside(const std::string& path);

    State state = State::Missing;
    std::string text;   // Read: the file's bytes
    std::string reason; // Refused: why, as a phrase ("cannot be read: Permission denied")
};
