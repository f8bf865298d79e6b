#include "Streams/fpstream.h"

#include "IO/GBufferedIO.h"

fpbase::fpbase(const char* name, GIO::IOOpenMode mode, GFileIO::IOCreateMode create, GFileIO::IOShareMode share) {
    open(name, mode, create, share);
}

GAbstractBufferedIO* fpbase::makeDevice(GFileIO* file) {
    return new GBufferedIO(file, 4096);
}

bool fpbase::open(const char* name, GIO::IOOpenMode mode, GFileIO::IOCreateMode create, GFileIO::IOShareMode share) {
    auto* file = new GFileIO;
    if (!file->open(name, mode, create, share)) {
        delete file;
        return false;
    }
    setIO(makeDevice(file));
    return true;
}

bool fpbase::is_open() const {
    const GFileIO* file = getFileIO();
    return file != nullptr && file->is_opened();
}

void fpbase::close() {
    flush();
    if (GFileIO* file = getFileIO())
        file->close();
}

int fpbase::io_mode() const {
    return getIO() != nullptr ? getIO()->open_mode() : 0;
}

GFileIO* fpbase::getFileIO() const {
    GIO* device = getIO();
    while (auto* buffered = dynamic_cast<GAbstractBufferedIO*>(device))
        device = buffered->getIO();
    return dynamic_cast<GFileIO*>(device);
}

void fpbase::change_size(long n) {
    flush();
    if (GFileIO* file = getFileIO())
        file->change_size(n);
}
