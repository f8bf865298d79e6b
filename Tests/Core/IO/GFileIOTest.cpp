#include "IO/GFileIO.h"

#include "IO/GIOException.h"
#include "Support/ExceptionTesting.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <climits>

#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class GFileIOTest : public testing::Test {
protected:
    std::string file(const char* name, const char* contents = nullptr) {
        const auto path = (m_folder.path() / name).string();
        if (contents != nullptr)
            std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // Whether a second handle can open the file.
    static bool opens(const std::string& path, GIO::IOOpenMode mode, GFileIO::IOShareMode share) {
        GFileIO other;
        return other.open(path.c_str(), mode, GFileIO::OpenExisting, share);
    }

    // Whether a child process can open the file.
    static bool opensInAnotherProcess(const std::string& path, GIO::IOOpenMode mode, GFileIO::IOShareMode share) {
        const pid_t child = fork();
        if (child == 0)
            _exit(opens(path, mode, share) ? 0 : 1);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    TempDirectory m_folder;
};

} // namespace

TEST_F(GFileIOTest, OpenReadWriteAndSize) {
    const std::string path = file("a.bin");
    GFileIO io(path.c_str(), GIO::ReadWrite, GFileIO::CreateNew, GFileIO::ShareNone);
    ASSERT_TRUE(io.is_opened());
    EXPECT_EQ(io.gwrite("hello world", 11), 11u);
    EXPECT_EQ(io.gtell(), 11);
    io.change_size(5);
    EXPECT_EQ(io.gtell(), 5);
    EXPECT_EQ(io.gseek(0, GIO::FromBegin), 0);
    char text[16] = {};
    EXPECT_EQ(io.gread(text, sizeof text), 5u); // a short read is no error
    EXPECT_STREQ(text, "hello");
    EXPECT_EQ(io.gseek(-2, GIO::FromEnd), 3);

    // A second open of an open device is refused and leaves the first file open.
    EXPECT_FALSE(io.open(file("b.bin").c_str(), GIO::ReadWrite, GFileIO::CreateNew, GFileIO::ShareNone));
    EXPECT_EQ(io.gseek(0, GIO::FromEnd), 5);
}

TEST_F(GFileIOTest, CreateModes) {
    const std::string existing = file("existing.txt", "old contents");
    GFileIO io;
    EXPECT_FALSE(io.open(existing.c_str(), GIO::ReadWrite, GFileIO::CreateNew, GFileIO::ShareNone));
    EXPECT_FALSE(io.open(file("absent.txt").c_str(), GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareNone));
    ASSERT_TRUE(io.open(existing.c_str(), GIO::ReadWrite, GFileIO::OpenAlways, GFileIO::ShareNone));
    EXPECT_EQ(io.gseek(0, GIO::FromEnd), 12);
    io.close();
    ASSERT_TRUE(io.open(existing.c_str(), GIO::WriteOnly, GFileIO::CreateAlways, GFileIO::ShareNone));
    EXPECT_EQ(io.gseek(0, GIO::FromEnd), 0);
    io.close();
    ASSERT_TRUE(io.open(file("fresh.txt").c_str(), GIO::WriteOnly, GFileIO::OpenAlways, GFileIO::ShareNone));
}

TEST_F(GFileIOTest, SystemErrorsCarryTheSystemText) {
    const std::string path = file("r.txt", "abc");
    GFileIO io(path.c_str(), GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareRead);
    auto error = catchException<GFileIOException>([&] { io.gwrite("x", 1); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Bad file descriptor");
    auto seekError = catchException<GFileIOException>([&] { io.gseek(-10, GIO::FromBegin); });
    ASSERT_NE(seekError, nullptr);
    EXPECT_EQ(std::string(seekError->getMessage()), "Invalid argument");
    // Offsets at the ends of the range are refused, not wrapped around.
    for (const long offset : {LONG_MIN, LONG_MAX})
        EXPECT_NE(catchException<GFileIOException>([&] { io.gseek(offset, GIO::FromEnd); }), nullptr) << offset;
    EXPECT_EQ(io.gseek(0, GIO::FromCurrent), 0);
}

TEST_F(GFileIOTest, NoSharingExcludesEveryOtherOpening) {
    const std::string path = file("locked.bin", "data");
    GFileIO owner(path.c_str(), GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareNone);
    ASSERT_TRUE(owner.is_opened());
    EXPECT_FALSE(opens(path, GIO::ReadOnly, GFileIO::ShareReadWrite));
    EXPECT_FALSE(opens(path, GIO::WriteOnly, GFileIO::ShareReadWrite));
    EXPECT_FALSE(opensInAnotherProcess(path, GIO::ReadOnly, GFileIO::ShareReadWrite));
    // A CreateAlways that is refused must leave the data alone.
    GFileIO truncating;
    EXPECT_FALSE(truncating.open(path.c_str(), GIO::WriteOnly, GFileIO::CreateAlways, GFileIO::ShareReadWrite));
    EXPECT_EQ(owner.gseek(0, GIO::FromEnd), 4);
    owner.close();
    EXPECT_TRUE(opens(path, GIO::ReadWrite, GFileIO::ShareNone));
}

TEST_F(GFileIOTest, ReadSharingAdmitsReadersOnly) {
    const std::string path = file("shared.bin", "data");
    GFileIO reader(path.c_str(), GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareRead);
    ASSERT_TRUE(reader.is_opened());
    EXPECT_TRUE(opens(path, GIO::ReadOnly, GFileIO::ShareRead));
    EXPECT_TRUE(opensInAnotherProcess(path, GIO::ReadOnly, GFileIO::ShareRead));
    EXPECT_FALSE(opens(path, GIO::ReadWrite, GFileIO::ShareRead));
    EXPECT_FALSE(opensInAnotherProcess(path, GIO::WriteOnly, GFileIO::ShareReadWrite));
    // A reader that refuses to share reading conflicts with the open reader.
    EXPECT_FALSE(opens(path, GIO::ReadOnly, GFileIO::ShareNone));

    // A writer that lets others read admits a reader that lets others write.
    const std::string other = file("other.bin", "data");
    GFileIO writer(other.c_str(), GIO::WriteOnly, GFileIO::OpenExisting, GFileIO::ShareRead);
    ASSERT_TRUE(writer.is_opened());
    EXPECT_TRUE(opens(other, GIO::ReadOnly, GFileIO::ShareWrite));
    EXPECT_FALSE(opens(other, GIO::ReadOnly, GFileIO::ShareRead));
}
