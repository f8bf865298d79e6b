#include "IO/GBufferedIO.h"

#include "IO/GFileIO.h"
#include "IO/GIOException.h"
#include "IO/GMemoryIO.h"
#include "Support/ExceptionTesting.h"
#include "Support/TempDirectory.h"

#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string memoryContents(const GBufferedIO& io) {
    auto* memory = static_cast<GMemoryIO*>(io.getIO());
    return std::string(static_cast<const char*>(memory->buffer()), memory->length());
}

} // namespace

TEST(GBufferedIO, ReadThenWriteLandsAtTheLogicalPosition) {
    TempDirectory folder;
    const auto path = folder.path() / "data.bin";
    std::ofstream(path, std::ios::binary) << "0123456789";

    GBufferedIO io(new GFileIO(path.c_str(), GIO::ReadWrite, GFileIO::OpenExisting, GFileIO::ShareNone));
    char head[3];
    EXPECT_EQ(io.gread(head, 3), 3u); // the buffer read ahead the whole file
    EXPECT_EQ(io.gwrite("ab", 2), 2u);
    io.flush();
    EXPECT_EQ(readFile(path), "012ab56789");
    EXPECT_EQ(io.gtell(), 5);
    EXPECT_EQ(io.readByte(), '5');
}

TEST(GBufferedIO, WordsAreLittleEndian) {
    GBufferedIO io(new GMemoryIO);
    io.writeWord(0x1234);
    io.writeDWord(0xA1B2C3D4);
    io.writeByte(0x7F);
    io.flush();
    EXPECT_EQ(memoryContents(io), std::string("\x34\x12\xD4\xC3\xB2\xA1\x7F", 7));

    io.gseek(0, GIO::FromBegin);
    EXPECT_EQ(io.readWord(), 0x1234);
    EXPECT_EQ(io.readDWord(), 0xA1B2C3D4u);
    EXPECT_EQ(io.readByte(), 0x7F);
    EXPECT_EQ(io.readByte(), -1);
}

TEST(GBufferedIO, ATinyBufferStillCarriesEverything) {
    GBufferedIO io(new GMemoryIO, 0);
    EXPECT_EQ(io.getBufferSize(), 4);
    const std::string text = "values that cross the four-byte buffer many times";
    io.writeDWord(0xDEADBEEF); // fits exactly
    io.writeWord(0xCAFE);      // straddles two fillings
    EXPECT_EQ(io.gwrite(text.data(), text.size()), text.size());
    io.gseek(0, GIO::FromBegin);
    EXPECT_EQ(io.readDWord(), 0xDEADBEEFu);
    EXPECT_EQ(io.readWord(), 0xCAFE);
    std::string back(text.size(), '\0');
    EXPECT_EQ(io.gread(back.data(), back.size()), text.size());
    EXPECT_EQ(back, text);
    char extra;
    EXPECT_EQ(io.gread(&extra, 1), 0u);
}

TEST(GBufferedIO, DeviceChangesAndModes) {
    GBufferedIO io;
    EXPECT_EQ(io.open_mode(), GIO::ReadOnly); // no device
    EXPECT_EQ(io.gseek(0, GIO::FromBegin), -1);

    char block[4] = "abc";
    auto* fixed = new GMemoryIO;
    fixed->open(block, 3, GIO::ReadOnly);
    io.setIO(fixed);
    auto error = catchException<GWriteToReadOnlyException>([&] { io.writeByte('x'); });
    EXPECT_NE(error, nullptr);
    EXPECT_EQ(io.readByte(), 'a');

    auto* memory = new GMemoryIO;
    io.setIO(memory); // the read device is destroyed, the new one owned
    io.gwrite("xyz", 3);
    io.setIO(new GMemoryIO); // writes out what was buffered for the old device first
}

TEST(GBufferedIO, DestructionWritesOutTheBuffer) {
    TempDirectory folder;
    const auto path = folder.path() / "out.bin";
    {
        GBufferedIO io(new GFileIO(path.c_str(), GIO::WriteOnly, GFileIO::CreateAlways, GFileIO::ShareNone));
        io.gwrite("kept", 4);
    }
    EXPECT_EQ(readFile(path), "kept");
}
