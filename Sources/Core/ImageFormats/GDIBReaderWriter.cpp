#include "ImageFormats/GDIBReaderWriter.h"

#include "Classes/GClassDictionary.h"
#include "Errors/GException.h"
#include "Files/FileSystem.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <vector>

G_IMPLEMENT_CLASS(GDIBReaderWriter, GStreamable)

unsigned GDIBReaderWriter::can_do() const {
    return CanRead;
}

void GDIBReaderWriter::file_name_filter(ImageFileFilter& filter) const {
    filter.empty();
}

bool GDIBReaderWriter::is(ipstream&) {
    return false;
}

bool GDIBReaderWriter::read_info(ipstream&, FileImageInfo&) {
    return false;
}

bool GDIBReaderWriter::read_image(ipstream&, GAbstractDIBImage&) {
    return false;
}

bool GDIBReaderWriter::write_image(opstream&, const GAbstractDIBImage&) {
    return false;
}

void GDIBReaderWriter::read(ipstream& stream) {
    GStreamable::read(stream);
    stream.readVersion(0, typeid(GDIBReaderWriter));
}

void GDIBReaderWriter::write(opstream& stream) const {
    GStreamable::write(stream);
    stream.writeByte(0);
}

int GDIBReaderWriter::GetAllInfo(ImageReaderWriterList& list, unsigned required, unsigned excluded) {
    list.empty();
    GClassDictionary formats;
    metaclass_.getDerivedClasses(formats, true);
    for (int i = 0; i < formats.getCount(); ++i) {
        GRTTIObject* built = formats.at(i)->buildObject();
        auto* format =
            built != nullptr ? static_cast<GDIBReaderWriter*>(built->cast_to_(typeid(GDIBReaderWriter))) : nullptr;
        if (format == nullptr) {
            if (built != nullptr)
                built->destroyThis();
            continue;
        }
        const unsigned can = format->can_do();
        if ((can & required) == required && (can & excluded) == 0)
            list.insert(format);
        else
            format->destroyThis();
    }
    return list.getCount();
}

namespace {

// Whether `format` recognises the stream; the stream is put back either way, and a format that fails while
// looking counts as not recognising it.
bool recognises(GDIBReaderWriter& format, ipstream& stream, const ipstream::Mark& start) {
    bool result = false;
    try {
        result = format.is(stream);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
    }
    stream.rewind(start);
    return result;
}

} // namespace

GDIBReaderWriter* GDIBReaderWriter::GetReader(ipstream& stream, ImageReaderWriterList& list) {
    const ipstream::Mark start = stream.mark();
    for (int i = 0; i < list.getCount(); ++i)
        if (list.at(i) != nullptr && recognises(*list.at(i), stream, start))
            return list.at(i);
    return nullptr;
}

GDIBReaderWriter* GDIBReaderWriter::GetReader(ipstream& stream) {
    ImageReaderWriterList list;
    GetAllInfo(list, CanRead);
    GDIBReaderWriter* found = GetReader(stream, list);
    return found != nullptr ? list.take(list.index_of(found)) : nullptr;
}

bool GDIBReaderWriter::ReadInfo(ipstream& stream, FileImageInfo& info, ImageReaderWriterList& list,
                                GDIBReaderWriter** used) {
    const ipstream::Mark start = stream.mark();
    for (int i = 0; i < list.getCount(); ++i) {
        GDIBReaderWriter* format = list.at(i);
        if (format == nullptr || !recognises(*format, stream, start))
            continue;
        bool read = false;
        try {
            read = format->read_info(stream, info);
        } catch (CException* e) {
            CExceptionPtr<> held(e);
        }
        stream.rewind(start);
        if (read) {
            if (used != nullptr)
                *used = format;
            return true;
        }
    }
    return false;
}

bool GDIBReaderWriter::ReadInfo(ipstream& stream, FileImageInfo& info, GDIBReaderWriter** used) {
    ImageReaderWriterList list;
    GetAllInfo(list, CanRead);
    GDIBReaderWriter* found = nullptr;
    if (!ReadInfo(stream, info, list, &found))
        return false;
    GDIBReaderWriter* taken = list.take(list.index_of(found));
    if (used != nullptr)
        *used = taken;
    else
        taken->destroyThis();
    return true;
}

bool GDIBReaderWriter::Read(ipstream& stream, GAbstractDIBImage& image, ImageReaderWriterList& list, int* index) {
    const ipstream::Mark start = stream.mark();
    for (int i = 0; i < list.getCount(); ++i) {
        if (list.at(i) == nullptr || !recognises(*list.at(i), stream, start))
            continue;
        if (index != nullptr)
            *index = i;
        return list.at(i)->read_image(stream, image);
    }
    return false;
}

bool GDIBReaderWriter::Read(ipstream& stream, GAbstractDIBImage& image) {
    ImageReaderWriterList list;
    GetAllInfo(list, CanRead);
    return Read(stream, image, list);
}

GDIBReaderWriter* GDIBReaderWriter::GetWriter(const char* name, ImageReaderWriterList& list) {
    const GFile file(name);
    for (int i = 0; i < list.getCount(); ++i) {
        if (list.at(i) == nullptr)
            continue;
        ImageFileFilter filter;
        list.at(i)->file_name_filter(filter);
        if (CompareExtensions(file, filter))
            return list.at(i);
    }
    return nullptr;
}

GDIBReaderWriter* GDIBReaderWriter::GetWriter(const char* name) {
    ImageReaderWriterList list;
    GetAllInfo(list, CanWrite);
    GDIBReaderWriter* found = GetWriter(name, list);
    return found != nullptr ? list.take(list.index_of(found)) : nullptr;
}

bool GDIBReaderWriter::Write(opstream& stream, const GAbstractDIBImage& image, const char* name,
                             ImageReaderWriterList& list, int* index) {
    GDIBReaderWriter* writer = GetWriter(name, list);
    if (writer == nullptr)
        return false;
    if (index != nullptr)
        *index = list.index_of(writer);
    return writer->write_image(stream, image);
}

bool GDIBReaderWriter::Write(opstream& stream, const GAbstractDIBImage& image, const char* name) {
    ImageReaderWriterList list;
    GetAllInfo(list, CanWrite);
    return Write(stream, image, name, list);
}

bool GDIBReaderWriter::CompareExtensions(const GFile& file, const char* filter) {
    std::vector<GString> patterns;
    ImageFileFilter(filter).get_extensions(patterns);
    const GFile name = file.get_name();
    for (const GString& pattern : patterns)
        if (FileSystem::Match(name, pattern))
            return true;
    return false;
}
