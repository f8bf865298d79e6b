#pragma once
// GFileIO: a file device. Files are opened with Windows' sharing rules: a handle states what others may do with
// the file while it is open, and an opening that conflicts with an open handle (in this process or another) is
// refused. System errors raise GFileIOException with the system's text.

#include "IO/GIO.h"

#include <sys/types.h>

class GFileIO : public GIO {
public:
    enum IOCreateMode { OpenExisting = 0, CreateNew = 1, OpenAlways = 2, CreateAlways = 3 };
    // What other handles may do while this one is open.
    enum IOShareMode { ShareNone = 0, ShareRead = 1, ShareWrite = 2, ShareReadWrite = 3 };

    GFileIO() = default;
    GFileIO(const char* name, IOOpenMode openMode, IOCreateMode createMode, IOShareMode shareMode);
    ~GFileIO() override;

    // False at once when already open, and when the file cannot be opened or the sharing of its open handles
    // forbids it. CreateAlways empties the file once it is open.
    bool open(const char* name, IOOpenMode openMode, IOCreateMode createMode, IOShareMode shareMode);
    void close();
    bool is_opened() const { return m_fd >= 0; }
    int handle() const { return m_fd; }
    IOCreateMode create_mode() const { return m_createMode; }
    IOShareMode share_mode() const { return m_shareMode; }
    // Makes the file n bytes long, leaving the position at n.
    void change_size(long n);
    // Makes the data written so far durable (fdatasync): what comes after cannot reach the disk before it.
    void sync();
    // Gives this file the permission bits of `other` (a replacement made beside it); false when that fails.
    bool take_permissions_of(const GFileIO& other);

    IOOpenMode open_mode() const override { return m_openMode; }
    long gseek(long offset, IOSeekDirection direction) override;
    std::size_t gwrite(const void* data, std::size_t count) override;
    std::size_t gread(void* buffer, std::size_t count) override;
    void* cast_to_(const std::type_info& type) const override;

private:
    bool claimSharing();

    int m_fd = -1;
    int m_lockFd = -1;         // holds the sharing locks; the file itself when it is open for reading
    bool m_positional = false; // a regular file: read and written at m_position
    off_t m_position = 0;
    IOOpenMode m_openMode = ReadOnly;
    IOCreateMode m_createMode = OpenExisting;
    IOShareMode m_shareMode = ShareNone;
};
