#pragma once
// Object streams on files: a 4096-byte buffer over the file device.

#include "IO/GFileIO.h"
#include "Streams/iopstream.h"

class fpbase : public virtual pstream {
public:
    fpbase() = default;
    fpbase(const char* name, GIO::IOOpenMode mode, GFileIO::IOCreateMode create, GFileIO::IOShareMode share);

    // Opens the file behind a new buffer (a stream's previous device goes); false when it cannot be opened.
    bool open(const char* name, GIO::IOOpenMode mode, GFileIO::IOCreateMode create, GFileIO::IOShareMode share);
    bool is_open() const;
    // Flushes, then closes the file.
    void close();
    // The device's open mode; 0 without a device.
    int io_mode() const;
    // The file device below any buffered devices.
    GFileIO* getFileIO() const;
    // Flushes, then sets the file size.
    void change_size(long n);

protected:
    // The buffered device put over the file; compressed streams put theirs.
    virtual GAbstractBufferedIO* makeDevice(GFileIO* file);
};

class ifpstream : public fpbase, public ipstream {
public:
    ifpstream() = default;
    ifpstream(const char* name, GIO::IOOpenMode mode = GIO::ReadOnly,
              GFileIO::IOCreateMode create = GFileIO::OpenExisting, GFileIO::IOShareMode share = GFileIO::ShareRead)
        : fpbase(name, mode, create, share) {}
};

class ofpstream : public fpbase, public opstream {
public:
    ofpstream() = default;
    ofpstream(const char* name, GIO::IOOpenMode mode = GIO::WriteOnly,
              GFileIO::IOCreateMode create = GFileIO::CreateAlways, GFileIO::IOShareMode share = GFileIO::ShareNone)
        : fpbase(name, mode, create, share) {}
};

class fpstream : public fpbase, public iopstream {
public:
    fpstream() = default;
    fpstream(const char* name, GIO::IOOpenMode mode = GIO::ReadWrite,
             GFileIO::IOCreateMode create = GFileIO::OpenAlways, GFileIO::IOShareMode share = GFileIO::ShareNone)
        : fpbase(name, mode, create, share) {}
};
