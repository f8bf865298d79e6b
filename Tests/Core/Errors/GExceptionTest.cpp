#include "Errors/GException.h"
#include "Errors/GLibraryExceptions.h"
#include "IO/GIOException.h"
#include "Streams/InvalidPStream_Exception.h"

#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class GSampleClass {};

std::string messageOf(const GLibraryException& e) {
    return std::string(e.getMessage());
}

const char* id(unsigned value) {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value));
}

} // namespace

TEST(GException, LibraryMessagesFromTextsAndIds) {
    EXPECT_EQ(messageOf(GLibraryException("plain text")), "plain text");
    GLibraryException raw(id(3));
    EXPECT_EQ(messageOf(raw), "Class with name '%s' already exists");
    raw.message(3u, "GFoo");
    EXPECT_EQ(messageOf(raw), "Class with name 'GFoo' already exists");
    raw.message("%d apples", 3);
    EXPECT_EQ(messageOf(raw), "3 apples");
    EXPECT_EQ(messageOf(GLibraryException(48u)), "File '%s' is absent");
}

TEST(GException, GetErrorMessageCutsAndTerminates) {
    const GLibraryException e("0123456789ABCDEF");
    char buffer[10];
    UINT help = 99;
    EXPECT_EQ(e.GetErrorMessage(buffer, sizeof buffer, &help), TRUE);
    EXPECT_STREQ(buffer, "012345678");
    EXPECT_EQ(help, 0u);

    char wide[64];
    EXPECT_EQ(e.GetErrorMessage(wide, sizeof wide), TRUE);
    EXPECT_STREQ(wide, "0123456789ABCDEF");

    // A cut never ends inside a UTF-8 character.
    const GLibraryException accented("abcdefgh\xC3\xA9");
    EXPECT_EQ(accented.GetErrorMessage(buffer, sizeof buffer), TRUE);
    EXPECT_STREQ(buffer, "abcdefgh");

    const GLibraryException blank("");
    EXPECT_EQ(blank.GetErrorMessage(buffer, sizeof buffer), FALSE);
    EXPECT_STREQ(buffer, "");
}

TEST(GException, LibraryFamilyMessages) {
    const GCollection_IndexOutOfRange_Exception range(5, 0, 2);
    EXPECT_EQ(messageOf(range), "GCollection : index (5) is out of range (0-2)");
    EXPECT_EQ(range.getIndex(), 5);
    EXPECT_EQ(range.getHigh(), 2);
    EXPECT_EQ(messageOf(GCollection_IndexOutOfRange_Exception(-1, 0, -1)),
              "GCollection : index (-1) is out of range (0--1)");
    EXPECT_EQ(messageOf(DuplicatedTypes_Exception("GCollection")), "Class with name 'GCollection' already exists");
    EXPECT_EQ(messageOf(FileIsAbsent_Exception("/tmp/none.kor")), "File '/tmp/none.kor' is absent");
    EXPECT_EQ(messageOf(InvalidFileFormat_Exception()), "Invalid file format");
    EXPECT_EQ(messageOf(InvalidFileFormat_Exception("Not a bitmap")), "Not a bitmap");
}

TEST(GException, IOFamilyMessages) {
    EXPECT_EQ(messageOf(GWriteToReadOnlyException()), "Attempt writing to read-only file/buffer");
    EXPECT_EQ(messageOf(GReadFromWriteOnlyException()), "Attempt reading of write-only file/buffer");
    EXPECT_EQ(messageOf(GIOException("disk on fire")), "disk on fire");
    EXPECT_EQ(messageOf(GFileIOException(49u)), "Invalid file format");
}

TEST(GException, CompressionMessagesFollowTheZlibCode) {
    const char* expected[] = {"ZLib: errno error",  "ZLib:stream error",  "ZLib: data error",
                              "ZLib: memory error", "ZLib: buffer error", "ZLib: version error"};
    for (int code = -1; code >= -6; --code)
        EXPECT_EQ(messageOf(GCompressionException(code)), expected[-code - 1]) << code;
    EXPECT_EQ(GCompressionException(-3).getCode(), -3);
    EXPECT_EQ(messageOf(GCompressionException(-7)), "");
    EXPECT_EQ(messageOf(GCompressionException(2)), "");
}

TEST(GException, StreamFamilyMessages) {
    EXPECT_EQ(messageOf(InvalidPStreamIndex_Exception(typeid(GSampleClass), 7, 120)),
              "Can't find object with index=7. Class= (anonymous namespace)::GSampleClass. Position=120");
    EXPECT_EQ(messageOf(InvalidPStreamMarker_Exception(3, 44)), "Invalid pointer stream marker = 3 . Position=44");
    EXPECT_EQ(messageOf(InvalidPStreamPrefix_Exception(9)), "Invalid prefix in stream. Position=9");
    EXPECT_EQ(messageOf(UnknownStreamableType_Exception("GGone")), "Unknown streamable class 'GGone'");
    EXPECT_EQ(messageOf(InvalidPStreamSuffix_Exception(77, "GModel")),
              "Invalid suffix in stream. Position=77. Class=GModel");
    EXPECT_EQ(messageOf(AbstractClass_Exception("GRTTIObject")), "Abstract class = GRTTIObject");
    EXPECT_EQ(messageOf(OldPrefix_Exception()), "Unsupported old prefix in stream");
    EXPECT_EQ(messageOf(OldVersionOfClass_Exception(2, typeid(int))), "Unsupported old version '2' of class 'int'");
    EXPECT_EQ(messageOf(NotBaseClass_Exception(typeid(int), typeid(double), 5)),
              "Can't read class 'int' as 'double'. Position=5");
    EXPECT_EQ(messageOf(GFileReadError_Exception()), "GFile : invalid index");
    EXPECT_EQ(messageOf(NonZeroPStreamState_Exception()), "");
}

TEST(GException, ThrownAsPointersAndCaughtByBase) {
    auto caught = catchException<InvalidPStream_Exception>([] { throw new InvalidPStreamPrefix_Exception(12); });
    ASSERT_NE(caught, nullptr);
    EXPECT_NE(dynamic_cast<InvalidPStreamPrefix_Exception*>(caught.get()), nullptr);
    EXPECT_NE(dynamic_cast<GIOException*>(caught.get()), nullptr);

    auto general = catchException<CException>([] { throw new GCollection_IndexOutOfRange_Exception(1, 0, 0); });
    ASSERT_NE(general, nullptr);
    char buffer[64];
    EXPECT_EQ(general->GetErrorMessage(buffer, sizeof buffer), TRUE);
    EXPECT_STREQ(buffer, "GCollection : index (1) is out of range (0-0)");
}
