#include "PictureFiles.h"

#include "Errors/GException.h"
#include "ImageFormats/GDIBReaderWriter.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Streams/mpstream.h"

#include <memory>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw std::runtime_error("'" + path + "' " + what);
}

std::string displayName(const GDIBReaderWriter& format) {
    ImageFileFilter filter;
    format.file_name_filter(filter);
    return static_cast<const char*>(filter.get_display_string());
}

struct FormatDeleter {
    void operator()(GDIBReaderWriter* format) const { format->destroyThis(); }
};

} // namespace

PictureInfo readPictureInfo(const std::string& path, const std::vector<unsigned char>& bytes) {
    impstream stream(bytes.data(), bytes.size());
    PictureInfo info;
    GDIBReaderWriter* used = nullptr;
    if (!GDIBReaderWriter::ReadInfo(stream, info.size, &used))
        fail(path, "is not a picture in a format this program reads");
    const std::unique_ptr<GDIBReaderWriter, FormatDeleter> format(used);
    info.format = displayName(*format);
    return info;
}

std::string readPicture(const std::string& path, const std::vector<unsigned char>& bytes, GDIBImage& image,
                        bool* cutShort) {
    impstream stream(bytes.data(), bytes.size());
    ImageReaderWriterList readers;
    GDIBReaderWriter::GetAllInfo(readers, GDIBReaderWriter::CanRead);
    int index = -1;
    bool read = false;
    try {
        read = GDIBReaderWriter::Read(stream, image, readers, &index);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        char message[512];
        e->GetErrorMessage(message, sizeof message);
        fail(path, std::string("cannot be read: ") + message);
    }
    if (index < 0)
        fail(path, "is not a picture in a format this program reads");
    if (!read)
        fail(path, "is a damaged " + displayName(*readers.at(index)) + " file");
    if (cutShort != nullptr)
        *cutShort = stream.cutShortPictures() > 0;
    return displayName(*readers.at(index));
}

std::vector<unsigned char> encodePicture(const std::string& path, const GDIBImage& image) {
    const std::unique_ptr<GDIBReaderWriter, FormatDeleter> writer(GDIBReaderWriter::GetWriter(path.c_str()));
    if (writer == nullptr)
        fail(path, "has a name no format writes (.bmp, .jpg, .jpeg, .png)");
    mpstream stream;
    if (!writer->write_image(stream, image))
        fail(path, "cannot hold this picture as " + displayName(*writer));
    const auto* data = static_cast<const unsigned char*>(stream.data());
    return {data, data + stream.length()};
}
