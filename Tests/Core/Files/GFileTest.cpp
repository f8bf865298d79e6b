#include "Files/GFile.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string str(const GString& s) {
    return static_cast<const char*>(s);
}

} // namespace

TEST(GFile, PartsOfAName) {
    const GFile file("c:\\a\\b.txt");
    EXPECT_EQ(str(file), "c:/a/b.txt");
    EXPECT_EQ(str(file.get_name()), "b.txt");
    EXPECT_EQ(str(file.get_extension()), "txt");
    EXPECT_EQ(str(file.get_directory()), "c:/a");
    EXPECT_EQ(str(file.get_drive()), "c:");
    EXPECT_EQ(str(GFile("a/b.c/d").get_extension()), "");
    EXPECT_EQ(str(GFile("/usr/lib/x.so.6").get_extension()), "6");
    EXPECT_EQ(str(GFile("c:name").get_name()), "name");
    EXPECT_EQ(str(GFile("c:name").get_directory()), "c:");
    EXPECT_EQ(str(GFile("plain").get_directory()), "");
    EXPECT_EQ(str(GFile("plain").get_drive()), "");
    EXPECT_EQ(str(GFile("/top").get_directory()), "/"); // the root is kept
    EXPECT_EQ(str(GFile("/").get_directory()), "/");
    EXPECT_EQ(str(GFile("/top/").get_directory()), "/top");

    EXPECT_TRUE(GFile("").isRelativePath());
    EXPECT_TRUE(GFile("a/b").isRelativePath());
    EXPECT_FALSE(GFile("/a/b").isRelativePath());
    EXPECT_FALSE(GFile("c:x").isRelativePath());
    EXPECT_TRUE(GFile("*.bmp").isMask());
    EXPECT_TRUE(GFile("a?.bmp").isMask());
    EXPECT_FALSE(GFile("a<b").valid());
    EXPECT_TRUE(GFile("a b").valid());
    EXPECT_FALSE(GFile("c:").isDrive()); // no drive letters here
}

TEST(GFile, EditingTheName) {
    GFile file("dir/name.txt");
    EXPECT_EQ(str(file.replace_extension("bmp")), "dir/name.bmp");
    EXPECT_EQ(str(file.remove_extension()), "dir/name");
    EXPECT_EQ(str(file.remove_extension()), "dir/name");
    EXPECT_EQ(str(file.add_extension("")), "dir/name");
    EXPECT_EQ(str(file.add_extension(nullptr)), "dir/name");
    EXPECT_EQ(str(file.add_extension("tar.gz")), "dir/name.tar.gz");
    EXPECT_EQ(str(file.replace_name("other")), "dir/other");
    EXPECT_EQ(str(GFile("alone").replace_name("new")), "new");
    EXPECT_EQ(str(GFile("a.b/c").remove_extension()), "a.b/c");

    EXPECT_EQ(str(GFile().add_name("x")), "x");
    EXPECT_EQ(str(GFile("dir").add_name("x")), "dir/x");
    EXPECT_EQ(str(GFile("dir/").add_name("x")), "dir/x");
    EXPECT_EQ(str(GFile("dir").add_name("\\x")), "dir/x");
    EXPECT_EQ(str(GFile("dir/").just_name()), "");
}

TEST(GFile, AbsoluteAndRelativeForms) {
    EXPECT_EQ(str(GFile("/x/y/f.txt").shrink("/x/z")), "../y/f.txt");
    EXPECT_EQ(str(GFile("/x/y/f.txt").shrink("/x/y/")), "f.txt");
    EXPECT_EQ(str(GFile("/x/y/f.txt").shrink("/")), "x/y/f.txt");
    EXPECT_EQ(str(GFile("/x/y/f.txt").shrink("/a/b/c")), "../../../x/y/f.txt");
    EXPECT_EQ(str(GFile("/x/Y/f.txt").shrink("/x/y")), "../Y/f.txt"); // case matters here
    EXPECT_EQ(str(GFile("/top").shrink("/x")), "../top");
    EXPECT_EQ(str(GFile("/x/f").shrink("/top")), "../x/f");
    EXPECT_EQ(str(GFile("/a/./b/../c/").expand()), "/a/c/");
    EXPECT_EQ(str(GFile("/a/b/..").expand()), "/a/");
    EXPECT_EQ(str(GFile("/..").expand()), "/");

    TempDirectory folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(str(GFile("").expand()), here + "/");
    EXPECT_EQ(str(GFile("sub/f").expand()), here + "/sub/f");
    std::ofstream("file.txt") << "x";
    EXPECT_EQ(str(GFile((here + "/other.txt").c_str()).shrink((here + "/file.txt").c_str())),
              "other.txt"); // a file's directory
    EXPECT_EQ(str(GFile((here + "/a/b").c_str()).shrink()), "a/b");
    EXPECT_TRUE(GFile("file.txt").equals_to((here + "/./file.txt").c_str()));
    EXPECT_FALSE(GFile("file.txt").equals_to("FILE.TXT"));
    EXPECT_TRUE(GFile("file.txt").exists());
    EXPECT_FALSE(GFile("file.txt").isDirectory());
    EXPECT_TRUE(GFile((here + "/").c_str()).isDirectory());
    EXPECT_TRUE(GFile("/").isDirectory());
    EXPECT_FALSE(GFile("*.txt").exists());
    EXPECT_FALSE(GFile("").exists());
    std::filesystem::current_path(previous);
}

TEST(GFile, ComparisonOrdersWithoutCaseButTellsNamesApart) {
    EXPECT_LT(GFile("apple").compare("Banana"), 0);
    EXPECT_GT(GFile("cherry").compare("Banana"), 0);
    EXPECT_NE(GFile("Name").compare("name"), 0);
    EXPECT_EQ(GFile("a\\b").compare("a/b"), 0);
}

TEST(GFile, StreamsAsTokens) {
    for (const char* name : {"c:/dir/file.name.txt", "../up/x", "/abs/path/", "", "no_dots", "a/./b"}) {
        mpstream stream;
        stream << GFile(name);
        stream.seekg(0, GIO::FromBegin);
        GFile read("previous");
        stream >> read;
        EXPECT_EQ(str(read), std::string(name) == "a/./b" ? "a/b" : name);
    }

    // The stored form of a Windows name: "c:" text, separator, "dir", separator, "f", dot, "txt".
    mpstream windows;
    windows.writeByte(1);
    windows.writeByte(4);
    windows.writeString("c:");
    windows.writeByte(1);
    windows.writeByte(4);
    windows.writeString("dir");
    windows.writeByte(1);
    windows.writeByte(3);
    windows.writeByte(4);
    windows.writeString("f");
    windows.writeByte(2);
    windows.writeByte(4);
    windows.writeString("txt");
    windows.writeByte(0);
    windows.seekg(0, GIO::FromBegin);
    GFile read;
    windows >> read;
    EXPECT_EQ(str(read), "c:/dir/../f.txt");

    mpstream bad;
    bad.writeByte(1);
    bad.writeByte(9);
    bad.seekg(0, GIO::FromBegin);
    auto error = catchException<GFileReadError_Exception>([&] { bad >> read; });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "GFile : invalid index");
}
