// A module holding one image format, "Plug-in format (*.plug)|*.plug|", which recognises data starting "PLUG".

#include "ImageFormats/GDIBReaderWriter.h"
#include "Streams/ipstream.h"

#include <cstring>

namespace {

class GTestPluginFormat : public GDIBReaderWriter {
    G_CLASS(GTestPluginFormat)
    unsigned can_do() const override { return CanRead | CanWrite; }
    void file_name_filter(ImageFileFilter& filter) const override { filter = "Plug-in format (*.plug)|*.plug|"; }
    bool is(ipstream& stream) override {
        char start[4];
        return stream.readBytes(start, 4) == 4 && std::memcmp(start, "PLUG", 4) == 0;
    }
};

} // namespace

G_IMPLEMENT_CLASS(GTestPluginFormat, GDIBReaderWriter)
