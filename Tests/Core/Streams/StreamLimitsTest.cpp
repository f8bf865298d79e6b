#include "Core/Streams/StreamTestClasses.h"
#include "Imaging/GDIBImage.h"
#include "Regions/GIPLMask.h"
#include "Regions/GPoint.h"
#include "Regions/GRegion.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"
#include "Streams/mpstream.h"
#include "Streams/zpstream.h"
#include "Support/ExceptionTesting.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Writes with `write`, sets the byte at `at` to `version`, and reads back with `read`.
void readWithVersion(const std::function<void(opstream&)>& write, std::size_t at, BYTE version,
                     const std::function<void(ipstream&)>& read) {
    mpstream written;
    write(written);
    std::string bytes = bytesOf(written);
    bytes.at(at) = static_cast<char>(version);
    impstream stream(bytes.data(), bytes.size());
    read(stream);
}

std::string newVersionError(const std::function<void(opstream&)>& write, std::size_t at, BYTE version,
                            const std::function<void(ipstream&)>& read) {
    auto error = catchException<NewVersionOfClass_Exception>([&] { readWithVersion(write, at, version, read); });
    return error ? std::string(error->getMessage()) : std::string("(none)");
}

} // namespace

TEST(StreamLimits, ObjectsNestAsDeepAsTheFormatAllowsAndNoDeeper) {
    const std::string deepest = chainStream(StreamFormat::MaxDepth);
    impstream stream(deepest.data(), deepest.size());
    GTestItem* first = stream.readPointer<GTestItem>();
    ASSERT_NE(first, nullptr);
    const auto objects = stream.readObjects();
    EXPECT_EQ(objects.size(), static_cast<std::size_t>(StreamFormat::MaxDepth));
    for (GStreamable* object : objects)
        object->destroyThis();

    const std::string tooDeep = chainStream(StreamFormat::MaxDepth + 1);
    impstream deeper(tooDeep.data(), tooDeep.size());
    auto error = catchException<InvalidPStream_Exception>([&] { deeper.readPointer<GTestItem>(); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()).rfind("Objects nested too deeply", 0), 0u);
    EXPECT_TRUE(deeper.readObjects().empty()); // every object built on the way down was destroyed
}

TEST(StreamLimits, AVersionNewerThanTheReaderKnowsIsRefused) {
    const GPoint point(3, -4);
    const auto writePoint = [&](opstream& s) {
        s << point;
    };
    const auto readPoint = [](ipstream& s) {
        GPoint read;
        s >> read;
    };
    EXPECT_EQ(newVersionError(writePoint, 0, 1, readPoint), "Unsupported new version '1' of class 'GPoint'");

    const GRegion region(RECT{0, 0, 4, 4});
    EXPECT_EQ(newVersionError([&](opstream& s) { s << region; }, 0, 7,
                              [](ipstream& s) {
                                  GRegion read;
                                  s >> read;
                              }),
              "Unsupported new version '7' of class 'GRegion'");

    const GDIBImage image(2, 1);
    EXPECT_EQ(newVersionError([&](opstream& s) { image.write(s); }, 0, 2,
                              [](ipstream& s) {
                                  GDIBImage read;
                                  read.read(s);
                              }),
              "Unsupported new version '2' of class 'GDIBImage'");

    // A mask: its own version byte, then those of its DIB section and image-processing image parts.
    const GIPLMask mask(9, 2);
    const auto writeMask = [&](opstream& s) {
        mask.write(s);
    };
    const auto readMask = [](ipstream& s) {
        GIPLMask read;
        read.read(s);
    };
    EXPECT_EQ(newVersionError(writeMask, 0, 4, readMask), "Unsupported new version '4' of class 'GIPLMask'");
    EXPECT_EQ(newVersionError(writeMask, 1, 1, readMask), "Unsupported new version '1' of class 'GDIBSection'");
    EXPECT_EQ(newVersionError(writeMask, 2, 1, readMask), "Unsupported new version '1' of class 'GIPLImage'");
}

TEST(StreamLimits, KnownVersionsStillRead) {
    const GPoint point(3, -4);
    readWithVersion([&](opstream& s) { s << point; }, 0, 0,
                    [&](ipstream& s) {
                        GPoint read;
                        s >> read;
                        EXPECT_EQ(read, point);
                    });
    GIPLMask mask(9, 2);
    mask.setBit(8, 1, true);
    readWithVersion([&](opstream& s) { mask.write(s); }, 0, 3,
                    [&](ipstream& s) {
                        GIPLMask read;
                        read.read(s);
                        EXPECT_TRUE(read.getBit(8, 1));
                    });
}

TEST(StreamLimits, ImagesStayWithinThePixelLimit) {
    mpstream stream; // 65535 x 4097 passes each side's limit, not the pixel count
    stream.writeByte(1);
    stream.writeDWord(0xFFFF);
    stream.writeDWord(4097);
    stream.seekg(0, GIO::FromBegin);
    GDIBImage image;
    auto error = catchException<InvalidPStream_Exception>([&] { image.read(stream); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Invalid image size 65535x4097. Position=0");
    EXPECT_TRUE(StreamFormat::ImageSizeAllowed(0xFFFF, 4096));
}

// A blank 2048 x 2048 image compresses to a few kilobytes and inflates to 16 MiB: past the reader's budget.
TEST(StreamLimits, InflatingStopsAtTheBudget) {
    TempDirectory folder;
    const auto path = (folder.path() / "blank.bin").string();
    {
        ozpstream out(path.c_str());
        out.turn_to_comp(true);
        GDIBImage(2048, 2048).write(out);
    }
    izpstream in(path.c_str());
    in.getCompressionIO()->setInflateBudget(1 << 20);
    in.turn_to_comp(true);
    GDIBImage image;
    auto error = catchException<GIOException>([&] { image.read(in); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Compressed data inflates beyond the budget of 1048576 bytes");
    EXPECT_LE(in.getCompressionIO()->inflatedBytes(), (1u << 20) + 16384u);
}
