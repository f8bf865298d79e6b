#include "Streams/zpstream.h"

// The device is made here, not in fpbase's constructor, where the compressed device could not be chosen yet.
zpbase::zpbase(const char* name, GIO::IOOpenMode mode, GFileIO::IOCreateMode create, GFileIO::IOShareMode share) {
    open(name, mode, create, share);
}

GAbstractBufferedIO* zpbase::makeDevice(GFileIO* file) {
    return new GCompressionIO(file, 4096);
}

GCompressionIO* zpbase::getCompressionIO() const {
    return dynamic_cast<GCompressionIO*>(getIO());
}

void zpbase::compression_level(int level) {
    flush();
    if (GCompressionIO* io = getCompressionIO())
        io->compression_level(level);
}

int zpbase::compression_level() const {
    const GCompressionIO* io = getCompressionIO();
    return io != nullptr ? io->compression_level() : 0;
}

// The level changes only after the current stretch is flushed, so it ends in the form it began in.
long zpbase::turn_to_comp(bool on) {
    const int level = compression_level();
    if (on && level == 0)
        compression_level(-1);
    else if (!on && level != 0)
        compression_level(0);
    return getIO() != nullptr ? getIO()->gtell() : -1;
}
