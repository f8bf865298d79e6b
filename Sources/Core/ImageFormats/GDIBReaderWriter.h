#pragma once
// GDIBReaderWriter: the base of the image file formats. Every registered class derived from it, in the core or in
// a loaded module, is a format: one is chosen for reading by asking each whether it recognises the start of the
// data, and for writing by matching a file name against each one's patterns. Formats are stateless and built
// per selection; the static functions never throw (no fitting format gives null or false), while a format's own
// reading may raise InvalidFileFormat_Exception.

#include "Files/GFile.h"
#include "ImageFormats/FileImageInfo.h"
#include "ImageFormats/ImageFileFilter.h"
#include "Streams/GStreamable.h"

class GAbstractDIBImage;
class ImageReaderWriterList;

class GDIBReaderWriter : public GStreamable {
    G_CLASS(GDIBReaderWriter)

    enum Capability : unsigned { CanRead = 1, CanWrite = 2 };

    // Capability bits: 1 reads, 2 writes; 4 and 8 are further capabilities a format may announce.
    virtual unsigned can_do() const;
    // The format's filter (empty here).
    virtual void file_name_filter(ImageFileFilter& filter) const;
    // Whether the data from the stream's position on is in this format.
    virtual bool is(ipstream& stream);
    virtual bool read_info(ipstream& stream, FileImageInfo& info);
    // Reads the picture into the target, which resizes itself.
    virtual bool read_image(ipstream& stream, GAbstractDIBImage& image);
    virtual bool write_image(opstream& stream, const GAbstractDIBImage& image);

    bool can_read() const { return (can_do() & CanRead) != 0; }
    bool can_write() const { return (can_do() & CanWrite) != 0; }

    // A version byte 0 and nothing else.
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

    // Fills the list with one object of every registered format whose capabilities hold all `required` bits and
    // none of the `excluded` ones, in the class dictionary's order; returns how many.
    static int GetAllInfo(ImageReaderWriterList& list, unsigned required, unsigned excluded = 0);
    // The first format of the list that recognises the stream (null when none); the stream is left where it was.
    // The forms without a list choose among all readers and hand the object found to the caller.
    static GDIBReaderWriter* GetReader(ipstream& stream, ImageReaderWriterList& list);
    static GDIBReaderWriter* GetReader(ipstream& stream);
    // The first format that recognises the stream and reads its information; the stream is left where it was.
    static bool ReadInfo(ipstream& stream, FileImageInfo& info, ImageReaderWriterList& list,
                         GDIBReaderWriter** used = nullptr);
    static bool ReadInfo(ipstream& stream, FileImageInfo& info, GDIBReaderWriter** used = nullptr);
    // Reads with the first format that recognises the stream (and no other); `index` receives its place in the
    // list.
    static bool Read(ipstream& stream, GAbstractDIBImage& image, ImageReaderWriterList& list, int* index = nullptr);
    static bool Read(ipstream& stream, GAbstractDIBImage& image);
    // The first format whose patterns match the name (a file name or a bare pattern such as "*.bmp").
    static GDIBReaderWriter* GetWriter(const char* name, ImageReaderWriterList& list);
    static GDIBReaderWriter* GetWriter(const char* name);
    static bool Write(opstream& stream, const GAbstractDIBImage& image, const char* name, ImageReaderWriterList& list,
                      int* index = nullptr);
    static bool Write(opstream& stream, const GAbstractDIBImage& image, const char* name);
    // Whether the file's name matches one of the filter's patterns.
    static bool CompareExtensions(const GFile& file, const char* filter);
};
