// The format framework with formats that exist only while a test registers them: "TF" pictures (a two-byte
// mark, a width and a height byte, then the pixels) and a reader that recognises any data starting with 'T'.

#include "ImageFormats/GDIBReaderWriter.h"
#include "Classes/GClassBoilerplate.h"
#include "Errors/GLibraryExceptions.h"
#include "Files/GDynamicLinkLibrary.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Imaging/GDIBImage.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

GRTTIObject* buildTwoByte();
GRTTIObject* buildAnyT();

class TwoByteFormat : public GDIBReaderWriter {
public:
    static std::optional<GMetaClass> record;
    const GMetaClass& getMetaClass() const override { return *record; }
    void* cast_to_(const std::type_info& type) const override {
        return GCastTo<TwoByteFormat, GDIBReaderWriter>(this, type);
    }

    unsigned can_do() const override { return CanRead | CanWrite; }
    static const char* filter;
    void file_name_filter(ImageFileFilter& out) const override { out = filter; }
    bool is(ipstream& stream) override {
        char mark[2];
        return stream.readBytes(mark, 2) == 2 && mark[0] == 'T' && mark[1] == 'F';
    }
    bool read_info(ipstream& stream, FileImageInfo& info) override {
        stream.skipBytes(2);
        info.width = stream.readByte();
        info.height = stream.readByte();
        return info.width > 0;
    }
    bool read_image(ipstream& stream, GAbstractDIBImage& image) override {
        FileImageInfo info;
        if (!read_info(stream, info))
            return false;
        image.resize(info.width, info.height);
        for (int y = 0; y < info.height; ++y)
            for (int x = 0; x < info.width; ++x) {
                const DWORD pixel = stream.readDWord();
                image.put_hline(&pixel, x, y, 1);
            }
        return true;
    }
    bool write_image(opstream& stream, const GAbstractDIBImage& image) override {
        stream.writeBytes("TF", 2);
        stream.writeByte(static_cast<BYTE>(image.get_width()));
        stream.writeByte(static_cast<BYTE>(image.get_height()));
        for (int y = 0; y < image.get_height(); ++y)
            for (int x = 0; x < image.get_width(); ++x) {
                DWORD pixel = 0;
                image.get_hline(&pixel, x, y, 1);
                stream.writeDWord(pixel);
            }
        return true;
    }
};

// Recognises anything starting with 'T' but reads nothing; it cannot write.
class AnyTFormat : public GDIBReaderWriter {
public:
    static std::optional<GMetaClass> record;
    const GMetaClass& getMetaClass() const override { return *record; }
    void* cast_to_(const std::type_info& type) const override {
        return GCastTo<AnyTFormat, GDIBReaderWriter>(this, type);
    }

    void file_name_filter(ImageFileFilter& filter) const override { filter = "Any T (*.t)|*.t|"; }
    bool is(ipstream& stream) override { return stream.readByte() == 'T'; }
};

std::optional<GMetaClass> TwoByteFormat::record;
const char* TwoByteFormat::filter = "Two bytes (*.tf;*.tst)|*.tf;*.tst|";
std::optional<GMetaClass> AnyTFormat::record;

GRTTIObject* buildTwoByte() {
    return new TwoByteFormat;
}

GRTTIObject* buildAnyT() {
    return new AnyTFormat;
}

// Registers the test formats for the length of a test, under names that sort as given.
class Formats {
public:
    Formats(const char* twoByteName, const char* anyTName) {
        TwoByteFormat::record.emplace(typeid(TwoByteFormat), twoByteName, buildTwoByte, nullptr,
                                      &GDIBReaderWriter::metaclass_);
        AnyTFormat::record.emplace(typeid(AnyTFormat), anyTName, buildAnyT, nullptr, &GDIBReaderWriter::metaclass_);
    }
    ~Formats() {
        TwoByteFormat::record.reset();
        AnyTFormat::record.reset();
    }
};

std::string picture() {
    GDIBImage image(2, 1);
    image.set_pixel(0, 0, 0x11223344);
    image.set_pixel(1, 0, 0x55667788);
    mpstream stream;
    stream.writeBytes("xx", 2); // data before the picture: selection works from the current position
    TwoByteFormat().write_image(stream, image);
    return std::string(static_cast<const char*>(stream.data()), stream.length());
}

} // namespace

TEST(GDIBReaderWriter, WithoutFormatsNothingIsChosen) {
    ImageReaderWriterList list;
    EXPECT_EQ(GDIBReaderWriter::GetAllInfo(list, GDIBReaderWriter::CanRead), 0);
    const std::string bytes = picture();
    impstream stream(bytes.data(), bytes.size());
    EXPECT_EQ(GDIBReaderWriter::GetReader(stream), nullptr);
    GDIBImage image;
    EXPECT_FALSE(GDIBReaderWriter::Read(stream, image));
    mpstream out;
    EXPECT_FALSE(GDIBReaderWriter::Write(out, image, "x.tf"));
    EXPECT_EQ(GDIBReaderWriter::GetWriter("x.tf"), nullptr);
}

TEST(GDIBReaderWriter, SelectionFollowsTheDictionaryOrder) {
    const std::string bytes = picture();
    for (const bool twoByteFirst : {true, false}) {
        const Formats formats(twoByteFirst ? "GTestA" : "GTestB", twoByteFirst ? "GTestB" : "GTestA");
        ImageReaderWriterList readers;
        ASSERT_EQ(GDIBReaderWriter::GetAllInfo(readers, GDIBReaderWriter::CanRead), 2);
        ImageReaderWriterList writers;
        EXPECT_EQ(GDIBReaderWriter::GetAllInfo(writers, GDIBReaderWriter::CanWrite), 1);
        ImageReaderWriterList readOnly;
        EXPECT_EQ(GDIBReaderWriter::GetAllInfo(readOnly, 0, GDIBReaderWriter::CanWrite), 1);

        impstream stream(bytes.data(), bytes.size());
        stream.skipBytes(2);
        const unsigned long start = stream.countOfReadBytes();
        std::unique_ptr<GDIBReaderWriter> reader(GDIBReaderWriter::GetReader(stream));
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(dynamic_cast<TwoByteFormat*>(reader.get()) != nullptr, twoByteFirst);
        EXPECT_EQ(stream.countOfReadBytes(), start);

        // ReadInfo skips a format that recognises the data but cannot read it, and leaves the stream in place.
        FileImageInfo info;
        GDIBReaderWriter* used = nullptr;
        ASSERT_TRUE(GDIBReaderWriter::ReadInfo(stream, info, &used));
        std::unique_ptr<GDIBReaderWriter> owned(used);
        EXPECT_NE(dynamic_cast<TwoByteFormat*>(used), nullptr);
        EXPECT_EQ(info.width, 2);
        EXPECT_EQ(info.height, 1);
        EXPECT_EQ(stream.countOfReadBytes(), start);
        EXPECT_EQ(stream.readByte(), 'T');
        stream.rewind({2, start});

        // Read takes the first format that recognises the data and no other.
        GDIBImage image;
        int index = -1;
        EXPECT_EQ(GDIBReaderWriter::Read(stream, image, readers, &index), twoByteFirst);
        EXPECT_EQ(index, 0);
        if (twoByteFirst) {
            EXPECT_EQ(image.get_pixel(1, 0), 0x55667788u);
        }
    }
}

TEST(GDIBReaderWriter, WritersAreChosenByName) {
    const Formats formats("GTestA", "GTestB");
    std::unique_ptr<GDIBReaderWriter> writer(GDIBReaderWriter::GetWriter("/some/dir/Picture.TST"));
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(GDIBReaderWriter::GetWriter("*.t"), nullptr); // a reader only
    GDIBImage image(1, 1);
    image.set_pixel(0, 0, 0xCAFEBABE);
    mpstream stream;
    EXPECT_TRUE(GDIBReaderWriter::Write(stream, image, "out.tf"));
    EXPECT_FALSE(GDIBReaderWriter::Write(stream, image, "out.bmp"));
    stream.seekg(0, GIO::FromBegin);
    GDIBImage read;
    ASSERT_TRUE(GDIBReaderWriter::Read(stream, read));
    EXPECT_EQ(read.get_pixel(0, 0), 0xCAFEBABEu);

    ImageReaderWriterList list;
    GDIBReaderWriter::GetAllInfo(list, GDIBReaderWriter::CanRead);
    const ImageReaderWriterList copy(list);
    ASSERT_EQ(copy.getCount(), 2);
    EXPECT_NE(copy.at(0), list.at(0));
    EXPECT_EQ(&copy.at(0)->getMetaClass(), &list.at(0)->getMetaClass());
}

TEST(GDIBReaderWriter, FiltersAndExtensions) {
    const char* psd = "Adobe Photoshop (*.psd)|*.psd|";
    EXPECT_TRUE(GDIBReaderWriter::CompareExtensions(GFile("Scene.psd"), psd));
    EXPECT_TRUE(GDIBReaderWriter::CompareExtensions(GFile("*.psd"), psd));
    EXPECT_FALSE(GDIBReaderWriter::CompareExtensions(GFile("Scene.bmp"), psd));
    EXPECT_TRUE(GDIBReaderWriter::CompareExtensions(GFile("x.JPEG"), "JPEG|*.jpg;*.jpeg|"));

    const ImageFileFilter jpeg("JPEG pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg|");
    EXPECT_EQ(std::string(jpeg.get_display_string()), "JPEG pictures (*.jpg;*.jpeg)");
    EXPECT_EQ(std::string(jpeg.get_patterns()), "*.jpg;*.jpeg");
    std::vector<GString> extensions;
    jpeg.get_extensions(extensions);
    ASSERT_EQ(extensions.size(), 2u);
    EXPECT_EQ(std::string(extensions[1]), "*.jpeg");
    EXPECT_EQ(std::string(jpeg.get_default_extension()), "*.jpg");
    EXPECT_TRUE(ImageFileFilter("Nothing||").get_default_extension().isEmpty());
    EXPECT_TRUE(ImageFileFilter("").get_default_extension().isEmpty());
}

TEST(GDIBReaderWriter, AFormatInALoadedModuleTakesPartUntilUnloaded) {
    GDIBReaderWriter* none = GDIBReaderWriter::GetWriter("x.plug");
    EXPECT_EQ(none, nullptr);
    {
        GDynamicLinkLibrary module(FORMAT_MODULE);
        ASSERT_TRUE(module.loaded());
        std::unique_ptr<GDIBReaderWriter> writer(GDIBReaderWriter::GetWriter("x.plug"));
        ASSERT_NE(writer, nullptr);
        EXPECT_EQ(std::string(writer->getMetaClass().getName()), "GTestPluginFormat");
        impstream stream("PLUG....", 8);
        std::unique_ptr<GDIBReaderWriter> reader(GDIBReaderWriter::GetReader(stream));
        EXPECT_NE(reader, nullptr);
    }
    EXPECT_EQ(GDIBReaderWriter::GetWriter("x.plug"), nullptr);
}

// Old image streams embed a whole bitmap file, read by the format that answers to "*.bmp".
TEST(GDIBReaderWriter, OldImageStreamsReadThroughTheBitmapFormat) {
    mpstream stream;
    stream.writeByte(0);
    GDIBImage source(1, 1);
    source.set_pixel(0, 0, 0x01020304);
    TwoByteFormat().write_image(stream, source);
    const std::string bytes(static_cast<const char*>(stream.data()), stream.length());

    impstream withoutFormat(bytes.data(), bytes.size());
    GDIBImage image;
    EXPECT_NE(catchException<InvalidFileFormat_Exception>([&] { image.read(withoutFormat); }), nullptr);

    const Formats formats("GTestA", "GTestB");
    TwoByteFormat::filter = "Bitmaps (*.bmp)|*.bmp|";
    impstream withFormat(bytes.data(), bytes.size());
    image.read(withFormat);
    TwoByteFormat::filter = "Two bytes (*.tf;*.tst)|*.tf;*.tst|";
    EXPECT_EQ(image.get_pixel(0, 0), 0x01020304u);
}
