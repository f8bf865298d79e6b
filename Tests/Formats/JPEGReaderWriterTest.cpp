#include "Jpeg/JPEGReaderWriter.h"
#include "Formats/FormatTesting.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Streams/mpstream.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace {

struct Jump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Jump*>(info->err)->jump, 1);
}

// The file decoded with libjpeg's own API straight from memory, as BGRA pixels; empty when it cannot.
std::vector<DWORD> referenceDecode(const std::string& bytes, int& width, int& height) {
    jpeg_decompress_struct info{};
    Jump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpBack;
    error.manager.output_message = [](j_common_ptr) {
    };
    std::vector<DWORD> pixels;
    jpeg_create_decompress(&info);
    if (setjmp(error.jump) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&info);
        width = static_cast<int>(info.output_width);
        height = static_cast<int>(info.output_height);
        pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + static_cast<std::size_t>(info.output_scanline) *
                                                                          static_cast<std::size_t>(width));
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return pixels;
}

ReadOutcome readFile(const std::filesystem::path& path) {
    JPEGReaderWriter format;
    return readWith(format, fileBytes(path));
}

} // namespace

TEST(JPEGReaderWriter, GoodFilesDecodeAsLibjpegDecodesThem) {
    const auto files = testFiles("jpeg/ok");
    ASSERT_EQ(files.size(), 11u);
    for (const auto& path : files) {
        const std::string bytes = fileBytes(path);
        int width = 0, height = 0;
        const std::vector<DWORD> expected = referenceDecode(bytes, width, height);
        ASSERT_FALSE(expected.empty()) << path;
        const ReadOutcome outcome = readFile(path);
        ASSERT_TRUE(outcome.read) << path;
        ASSERT_EQ(outcome.image.get_width(), width) << path;
        ASSERT_EQ(outcome.image.get_height(), height) << path;
        bool same = true;
        for (int y = 0; y < height && same; ++y)
            same = std::equal(outcome.image.get_line_address(y), outcome.image.get_line_address(y) + width,
                              expected.begin() + static_cast<std::ptrdiff_t>(y) * width);
        EXPECT_TRUE(same) << path;
        JPEGReaderWriter format;
        impstream stream(bytes.data(), bytes.size());
        FileImageInfo info;
        ASSERT_TRUE(format.read_info(stream, info));
        EXPECT_EQ(info.width, width);
    }
}

// Every other file gives what was decided for it, and none crashes.
TEST(JPEGReaderWriter, EdgeBrokenAndUnsupportedFilesAsDecided) {
    const std::map<std::string, bool> decided = {{"jd-extraneous-data.jpg", true},
                                                 {"moz-jpg-cmyk-1.jpg", true},
                                                 {"moz-jpg-size-6x6.jpg", false},
                                                 {"pil-hopper_orientation_6.jpg", true},
                                                 {"pil-junk_jpeg_header.jpg", true},
                                                 {"pil-pil_sample_cmyk.jpg", true},
                                                 {"jd-dc-predictor-overflow.jpg", true},
                                                 {"jd-empty.jpg", false},
                                                 {"jd-max_size.jpg", false},
                                                 {"jd-missing-sof.jpg", false},
                                                 {"jd-missing-sos.jpg", false},
                                                 {"jd-null_height.jpg", false},
                                                 {"pil-truncated_jpeg.jpg", true},
                                                 {"jd-jpeg_lossless_sel1.jpg", false}};
    JPEGReaderWriter format;
    expectDecisions(format, testFiles({"jpeg/edge", "jpeg/corrupt", "jpeg/unsupported"}), decided);

    // CMYK and YCCK from Adobe's writers come out as colours, opaque.
    const ReadOutcome cmyk = readFile(testDataRoot() / "jpeg/edge/pil-pil_sample_cmyk.jpg");
    EXPECT_EQ(cmyk.image.get_width(), 100);
    EXPECT_EQ(cmyk.image.get_pixel(50, 50) >> 24, 0xFFu);

    // A PNG named .jpg is not taken as JPEG, but the selection finds its real format.
    const std::string png = fileBytes(testDataRoot() / "jpeg/edge/moz-jpg-size-6x6.jpg");
    impstream stream(png.data(), png.size());
    ImageReaderWriterList readers;
    GDIBReaderWriter::GetAllInfo(readers, GDIBReaderWriter::CanRead);
    GDIBImage image;
    ASSERT_TRUE(GDIBReaderWriter::Read(stream, image, readers));
    EXPECT_EQ(image.get_width(), 6);
}

TEST(JPEGReaderWriter, WritesWhatItReadsCloseToTheOriginal) {
    JPEGReaderWriter format;
    GDIBImage picture(48, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            picture.set_pixel(x, y,
                              0xFF000000u | static_cast<DWORD>(x * 5) << 16 | static_cast<DWORD>(y * 7) << 8 | 0x40);
    const std::string bytes = writeWith(format, picture);
    impstream stream(bytes.data(), bytes.size());
    EXPECT_TRUE(format.is(stream));
    const ReadOutcome back = readWith(format, bytes);
    ASSERT_TRUE(back.read);
    int worst = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            for (int shift : {0, 8, 16}) {
                const int a = static_cast<int>(picture.get_pixel(x, y) >> shift & 0xFF);
                const int b = static_cast<int>(back.image.get_pixel(x, y) >> shift & 0xFF);
                worst = std::max(worst, std::abs(a - b));
            }
    EXPECT_LE(worst, 8); // quality 90 on a smooth picture
    EXPECT_EQ(back.image.get_pixel(3, 3) >> 24, 0xFFu);
}

namespace {

// The file with the width and height of its frame header set to `side`.
std::string withSide(std::string bytes, int side) {
    for (std::size_t at = 2; at + 9 < bytes.size(); ++at)
        if (static_cast<std::uint8_t>(bytes[at]) == 0xFF && (bytes[at + 1] == '\xC0' || bytes[at + 1] == '\xC2')) {
            for (std::size_t field : {at + 5, at + 7}) {
                bytes[field] = static_cast<char>(side >> 8);
                bytes[field + 1] = static_cast<char>(side);
            }
            return bytes;
        }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

} // namespace

// Data that ends early reads as far as it goes, and the reader says so.
TEST(JPEGReaderWriter, PicturesCutShortReadAsFarAsTheyGoAndSaySo) {
    JPEGReaderWriter format;
    const std::string whole = fileBytes(testDataRoot() / "jpeg/ok/ljt-testorig.jpg");
    const ReadOutcome complete = readWith(format, whole);
    ASSERT_TRUE(complete.read);
    EXPECT_FALSE(complete.cutShort);
    const ReadOutcome cut = readWith(format, whole.substr(0, whole.size() / 2));
    ASSERT_TRUE(cut.read);
    EXPECT_TRUE(cut.cutShort);
    EXPECT_EQ(cut.image.get_width(), 227);
    EXPECT_EQ(cut.image.get_height(), 149);
}

// A few bytes cannot make the reader hold a huge picture, nor libjpeg decode scan after scan without end.
TEST(JPEGReaderWriter, SmallFilesCannotClaimHugePicturesOrEndlessScans) {
    JPEGReaderWriter format;
    for (const char* name : {"jpeg/ok/ljt-testorig.jpg", "jpeg/ok/moz-jpg-progressive.jpg"}) {
        const ReadOutcome huge = readWith(format, withSide(fileBytes(testDataRoot() / name), 16384));
        EXPECT_TRUE(huge.raised) << name;
        EXPECT_EQ(huge.image.get_width(), 0) << name;
    }
    // The progressive file's last scan again and again before its end marker: 20 more scans are taken, 100 not.
    const std::string progressive = fileBytes(testDataRoot() / "jpeg/ok/moz-jpg-progressive.jpg");
    const std::size_t lastScan = progressive.rfind("\xFF\xDA");
    const std::size_t end = progressive.rfind("\xFF\xD9");
    ASSERT_LT(lastScan, end);
    const std::string scan = progressive.substr(lastScan, end - lastScan);
    for (const auto& [repeats, taken] : {std::pair{20, true}, std::pair{100, false}}) {
        std::string bytes = progressive.substr(0, end);
        for (int i = 0; i < repeats; ++i)
            bytes += scan;
        bytes += progressive.substr(end);
        EXPECT_EQ(readWith(format, bytes).read, taken) << repeats;
    }
}
