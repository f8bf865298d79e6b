// kortool run as a person runs it: the real program, its exit status and what it prints.

#include "Core/Streams/StreamTestClasses.h"
#include "Host/KortoolRunner.h"
#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(Kortool, DumpsAnObjectStream) {
    writeFile("chain.bin", chainStream(2));
    const Outcome outcome = kortool("dump chain.bin");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("frame GTestItem #2"), std::string::npos);
    EXPECT_EQ(kortool("dump chain.bin --offset 0x1").out.rfind("       1  frame GTestItem #1", 0), 0u);
}

TEST(Kortool, RefusesFilesThatGiveNoStream) {
    std::filesystem::create_directory("folder");
    writeFile("empty.bin", "");
    writeFile("noise.bin", std::string("\x12\x84\x41\xDA\x04\x33\xCA\xA1\xD8\xED\x81\x05", 12));
    expectRefusal("dump absent.bin", 1, "File 'absent.bin' is absent");
    expectRefusal("dump folder", 1, "'folder' is a directory, not a file");
    expectRefusal("dump empty.bin", 1, "'empty.bin' is empty");
    expectRefusal("dump noise.bin", 1, "'noise.bin' holds no object frame");
    expectRefusal("dump /dev/zero", 1, "'/dev/zero' is a device, not a file");
    expectRefusal("dump /dev/stdin < /dev/zero", 1, "'/dev/stdin' is a device, not a file");
}

TEST(Kortool, RefusesAnUnreadableFile) {
    writeFile("locked.bin", chainStream(1));
    std::filesystem::permissions("locked.bin", std::filesystem::perms::none);
    std::string path = "locked.bin";
    if (::access(path.c_str(), R_OK) == 0) { // the superuser reads it all the same
        path = "/proc/1/mem";
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd >= 0) {
            ::close(fd);
            GTEST_SKIP() << "every file is readable here";
        }
    }
    expectRefusal("dump " + path, 1, "'" + path + "' cannot be opened: Permission denied");
}

TEST(Kortool, RefusesBadNumbersAndArguments) {
    writeFile("chain.bin", chainStream(1));
    const auto size = std::to_string(std::filesystem::file_size("chain.bin"));
    for (const char* number : {"abc", "-5", "+5", "12x", "0x", "", "99999999999999999999999"})
        expectRefusal(std::string("dump chain.bin --offset '") + number + "'", 2, "--offset takes a byte count");
    expectRefusal("dump chain.bin --offset " + size, 1,
                  "'chain.bin' has " + size + " bytes: offset " + size + " is at or past its end");
    expectRefusal("dump", 2, "dump needs a file");
    expectRefusal("dump chain.bin extra", 2, "unexpected arguments to dump");
    expectRefusal("frobnicate", 2, "unknown command 'frobnicate'");
}

namespace {

std::filesystem::path testData(const std::string& folder) {
    const char* root = std::getenv("KORVANE_TESTDATA");
    return std::filesystem::path(root != nullptr ? root : KORVANE_TESTDATA_DIR) / folder;
}

std::vector<std::filesystem::path> filesIn(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(testData(folder)))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

// Every picture that must load gives its size, and converts to PNG and back to the same pixels.
TEST(Kortool, InfoAndConvertTakeEveryGoodPicture) {
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"bmp/bmpsuite/g", "bmp/bmptestsuite/valid", "jpeg/ok"})
        for (const auto& file : filesIn(folder))
            files.push_back(file);
    for (const char* name : {"bmp/misc/ljt-vgl_6434_0018a.bmp", "bmp/misc/pil-hopper_rle8.bmp"})
        files.push_back(testData(name));
    for (const auto& file : files) {
        const Outcome info = kortool("info '" + file.string() + "'");
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_NE(info.out.find(" x "), std::string::npos) << file;
        const Outcome toPng = kortool("convert '" + file.string() + "' picture.png");
        ASSERT_EQ(toPng.status, 0) << toPng.err;
        ASSERT_EQ(kortool("convert picture.png back.bmp").status, 0) << file;
        ASSERT_EQ(kortool("convert back.bmp again.png").status, 0) << file;
        EXPECT_EQ(readFile("picture.png"), readFile("again.png")) << file; // the same pixels both ways
    }
}

TEST(Kortool, ConvertLeavesTheTargetWhenItFails) {
    writeFile("target.png", "what was there");
    writeFile("noise.bin", "not a picture at all");
    expectRefusal("convert noise.bin target.png", 1, "'noise.bin' is not a picture in a format this program reads");
    const auto good = testData("bmp/bmpsuite/g/rgb24.bmp").string();
    expectRefusal("convert '" + good + "' target.gif", 1, "'target.gif' has a name no format writes");
    expectRefusal("convert '" + testData("bmp/bmpsuite/b/shortfile.bmp").string() + "' target.png", 1,
                  "'" + testData("bmp/bmpsuite/b/shortfile.bmp").string() + "' is a damaged Windows Bitmap");
    expectRefusal("convert '" + good + "' /nonexistent/dir/out.png", 1, "'/nonexistent/dir/out.png' cannot be written");
    EXPECT_EQ(readFile("target.png"), "what was there");
    EXPECT_FALSE(std::filesystem::exists("target.gif"));
    expectRefusal("convert only-one.png", 2, "convert needs an input and an output file");
    expectRefusal("info", 2, "info needs a file");
    const Outcome mixed = kortool("info '" + good + "' noise.bin");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.out.find("127 x 64"), std::string::npos);
}

// A picture whose data ends early converts as far as it goes, with a warning and a status of its own.
TEST(Kortool, ConvertSaysWhenAPictureEndsEarly) {
    const std::string whole = readFile(testData("jpeg/ok/ljt-testorig.jpg").string());
    writeFile("cut.jpg", whole.substr(0, whole.size() / 2));
    const Outcome cut = kortool("convert cut.jpg out.png");
    EXPECT_EQ(cut.status, 3);
    EXPECT_EQ(cut.err.rfind("kortool: warning: 'cut.jpg' ends early", 0), 0u) << cut.err;
    EXPECT_NE(kortool("info out.png").out.find("227 x 149"), std::string::npos);
    writeFile("whole.jpg", whole);
    const Outcome complete = kortool("convert whole.jpg out.png");
    EXPECT_EQ(complete.status, 0);
    EXPECT_EQ(complete.err, "");
}
