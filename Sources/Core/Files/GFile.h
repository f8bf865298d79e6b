#pragma once
// GFile: a file name with path algebra (drive, directory, name, extension, masks, absolute and relative forms).
// The separator here is '/': every construction and assignment turns '\' into '/'. There are no drive letters on
// this platform; a drive part exists only when a name starts with a letter and ':'. The persistent form is a
// token sequence in which the separator is a token, so a stored name reads on either platform.

#include "Text/GString.h"

class ipstream;
class opstream;

class GFile : public GString {
public:
    enum DriveType { NoRoot = 0, Removable = 1, Fixed = 2, Remote = 3, CDROM = 4, RAMDisk = 5 };

    GFile() = default;
    GFile(const char* name);
    GFile(const GString& name);
    GFile(const GFile& other) = default;
    GFile& operator=(const GFile& other) = default;
    GFile& operator=(const char* name);
    GFile& operator=(const GString& name);

    // None of '<', '>', '|'.
    bool valid() const;
    // Not empty, not a mask, and something of that name exists.
    bool exists() const;
    bool isMask() const;
    bool isDirectory() const;
    // Always false here: there are no drive letters.
    bool isDrive() const;
    bool isRelativePath() const;

    GFile get_name() const;
    GFile get_extension() const;
    GFile get_directory() const;
    GFile get_drive() const;
    GFile& just_directory();
    GFile& just_drive();
    GFile& just_name();
    GFile& just_extension();
    GFile& add_extension(const char* extension);
    GFile& remove_extension();
    GFile& replace_extension(const char* extension);
    GFile& add_name(const char* name);
    GFile& replace_name(const char* name);

    // The absolute name, with "." and ".." worked out; an empty name becomes the current directory and '/'.
    GFile& expand();
    // Relative to the directory `base` (an existing file gives its directory), or to the current directory.
    GFile& shrink(const char* base);
    GFile& shrink();

    // Whether both name the same file once expanded. Names here are case-sensitive, so they are compared
    // exactly (two names differing in case are two files).
    bool equals_to(const char* name) const;
    // Case-insensitive order; names equal but for case are then ordered exactly, so 0 means the same name.
    int compare(const char* name) const;

private:
    void toSeparators();
    // Where the extension starts (after its '.'), or the length when there is none.
    unsigned extensionStart() const;
};

opstream& operator<<(opstream& stream, const GFile& file);
ipstream& operator>>(ipstream& stream, GFile& file);
