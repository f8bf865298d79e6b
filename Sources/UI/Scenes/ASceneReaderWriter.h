#pragma once
// ASceneReaderWriter: scene files (".kor"). The name starts with 'A' so that it sorts before every other format's:
// documents open and save scenes through the first format of the lists.
//
// A file is the magic "KORSCENE", a DWORD version (1), a DWORD byte count and that many bytes of an object stream
// deflated by the compression layer, holding one pointer to the root model: the whole tree goes through the
// models' own stream form. Reading into a model replaces it only when the whole scene has read; reading into any
// other image gives it the composed picture. Writing a model stores its tree; any other image is stored as a
// scene of that one picture.

#include "ImageFormats/GDIBReaderWriter.h"

class ASceneReaderWriter : public GDIBReaderWriter {
    G_CLASS(ASceneReaderWriter)

    unsigned can_do() const override;
    void file_name_filter(ImageFileFilter& filter) const override;
    bool is(ipstream& stream) override;
    bool read_info(ipstream& stream, FileImageInfo& info) override;
    // Raises InvalidFileFormat_Exception (or a stream error) for a damaged scene; the target is left as it was.
    bool read_image(ipstream& stream, GAbstractDIBImage& image) override;
    bool write_image(opstream& stream, const GAbstractDIBImage& image) override;
};
