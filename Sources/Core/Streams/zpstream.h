#pragma once
// Object streams on files through a compression device: compression is switched on and off between pieces of
// data, so one file mixes plain and compressed stretches (each compressed stretch one raw deflate stream).

#include "IO/GCompressionIO.h"
#include "Streams/fpstream.h"

class zpbase : public fpbase {
public:
    zpbase() = default;
    zpbase(const char* name, GIO::IOOpenMode mode, GFileIO::IOCreateMode create, GFileIO::IOShareMode share);

    // Flushes the stream (ending the current stretch), then sets the device's level.
    void compression_level(int level);
    int compression_level() const;
    bool is_comp() const { return compression_level() != 0; }
    // Compression on (the default level, unless one is set) or off from here; returns the device position.
    long turn_to_comp(bool on);
    long turn_to_norm() { return turn_to_comp(false); }
    GCompressionIO* getCompressionIO() const;

protected:
    GAbstractBufferedIO* makeDevice(GFileIO* file) override;
};

class izpstream : public zpbase, public ipstream {
public:
    izpstream() = default;
    izpstream(const char* name, GIO::IOOpenMode mode = GIO::ReadOnly,
              GFileIO::IOCreateMode create = GFileIO::OpenExisting, GFileIO::IOShareMode share = GFileIO::ShareRead)
        : zpbase(name, mode, create, share) {}
};

class ozpstream : public zpbase, public opstream {
public:
    ozpstream() = default;
    ozpstream(const char* name, GIO::IOOpenMode mode = GIO::WriteOnly,
              GFileIO::IOCreateMode create = GFileIO::CreateAlways, GFileIO::IOShareMode share = GFileIO::ShareNone)
        : zpbase(name, mode, create, share) {}
};

class zpstream : public zpbase, public iopstream {
public:
    zpstream() = default;
    zpstream(const char* name, GIO::IOOpenMode mode = GIO::ReadWrite,
             GFileIO::IOCreateMode create = GFileIO::OpenAlways, GFileIO::IOShareMode share = GFileIO::ShareNone)
        : zpbase(name, mode, create, share) {}
};
