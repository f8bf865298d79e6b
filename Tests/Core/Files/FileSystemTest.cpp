#include "Files/FileSystem.h"
#include "Classes/GMetaClass.h"
#include "Files/FileFind.h"
#include "Files/GDynamicLinkLibrary.h"
#include "Streams/mpstream.h"
#include "Support/FileContents.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string str(const GString& s) {
    return static_cast<const char*>(s);
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The names a search reports.
std::set<std::string> namesOf(FileFind& find) {
    std::set<std::string> names;
    for (; find; ++find)
        names.insert(str(find.name));
    return names;
}

} // namespace

TEST(FileSystem, WildcardMatch) {
    EXPECT_TRUE(FileSystem::Match("readme", "*.*"));
    EXPECT_TRUE(FileSystem::Match("readme.txt", "*.*"));
    EXPECT_FALSE(FileSystem::Match("readme.txt", "*"));
    EXPECT_TRUE(FileSystem::Match("readme", "*"));
    EXPECT_TRUE(FileSystem::Match("ABC.TXT", "a?c.txt"));
    EXPECT_FALSE(FileSystem::Match("a.c.txt", "a?c.txt"));
    EXPECT_TRUE(FileSystem::Match("scene.kor", "*.kor"));
    EXPECT_FALSE(FileSystem::Match("scene.kor2", "*.kor"));
    EXPECT_TRUE(FileSystem::Match("a.b.c", "*.c"));
    EXPECT_TRUE(FileSystem::Match("abc", "abc*"));
    EXPECT_FALSE(FileSystem::Match("ab", "abc"));
    EXPECT_FALSE(FileSystem::Match("abcd", "abc"));
    EXPECT_TRUE(FileSystem::Match("", ""));
    EXPECT_TRUE(FileSystem::Match("", "*"));
}

TEST(FileSystem, DirectoriesAndFiles) {
    TempDirectory folder;
    const std::string root = folder.path().string();
    EXPECT_TRUE(FileSystem::CreateDirectoryA((root + "/one/two/three").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "one/two/three"));
    EXPECT_TRUE(FileSystem::CreateDirectoryA((root + "/one/two/three/").c_str())); // already there
    writeFile(folder.path() / "plain", "x");
    EXPECT_FALSE(FileSystem::CreateDirectoryA((root + "/plain/sub").c_str())); // a file stands in the way

    const std::string a = root + "/a.txt", b = root + "/b.txt";
    writeFile(a, "first");
    writeFile(b, "second");
    EXPECT_TRUE(FileSystem::Copy(a.c_str(), b.c_str())); // overwrites
    EXPECT_EQ(readFile(b), "first");
    EXPECT_FALSE(FileSystem::Copy((root + "/none").c_str(), b.c_str()));
    EXPECT_EQ(readFile(b), "first");                      // a failed copy leaves the target
    EXPECT_FALSE(FileSystem::Move(a.c_str(), b.c_str())); // the target exists
    EXPECT_TRUE(FileSystem::Remove(b.c_str()));
    EXPECT_TRUE(FileSystem::Move(a.c_str(), b.c_str()));
    EXPECT_FALSE(FileSystem::Exists(GFile(a.c_str())));
    EXPECT_FALSE(FileSystem::Remove(a.c_str()));
    EXPECT_NE(FileSystem::GetError(), 0u);
    EXPECT_FALSE(FileSystem::Remove((root + "/one").c_str())); // not a file

    std::tm time{};
    time.tm_year = 99;
    time.tm_mon = 11;
    time.tm_mday = 31;
    time.tm_hour = 23;
    EXPECT_TRUE(FileSystem::SetTime(b.c_str(), time));
    FileFind find((root + "/b.txt").c_str());
    ASSERT_TRUE(find);
    EXPECT_EQ(find.time.tm_year, 99);
    EXPECT_EQ(find.time.tm_mday, 31);
    EXPECT_EQ(find.time.tm_hour, 23);
    EXPECT_EQ(find.size, 5u);
}

TEST(FileSystem, NamesAndPlaces) {
    TempDirectory folder;
    const std::string root = folder.path().string();
    writeFile(folder.path() / "tmpaa", "");
    GFile unique((root + "/tmp##").c_str());
    EXPECT_TRUE(FileSystem::UniqueName(unique, '#'));
    EXPECT_NE(str(unique), root + "/tmpaa");
    EXPECT_EQ(unique.length(), root.size() + 6);
    GFile taken((root + "/tmpaa").c_str());
    EXPECT_FALSE(FileSystem::UniqueName(taken, '#'));
    GFile none;
    EXPECT_FALSE(FileSystem::UniqueName(none, '#'));

    GFile found("tmpaa");
    EXPECT_TRUE(FileSystem::SearchFile(("/nonexistent;" + root).c_str(), found));
    EXPECT_EQ(str(found), root + "/tmpaa");
    GFile missing("nothing");
    EXPECT_FALSE(FileSystem::SearchFile(root.c_str(), missing));

    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("TMPDIR", root.c_str(), 1);
    EXPECT_EQ(str(FileSystem::GetTemporaryDirectory()), root + "/");
    unsetenv("TMPDIR");
    EXPECT_EQ(str(FileSystem::GetTemporaryDirectory()), "/tmp/");
    if (previous != nullptr)
        setenv("TMPDIR", saved.c_str(), 1);

    EXPECT_GT(FileSystem::GetDirectoryFreeSpace(root.c_str()), 0u);
    EXPECT_EQ(FileSystem::GetDirectoryFreeSpace("/nonexistent/x"), 0u);
    DWORD sectors = 0, bytes = 0, freeClusters = 0, total = 0;
    EXPECT_TRUE(FileSystem::GetDriveInfo(root.c_str(), sectors, bytes, freeClusters, total));
    EXPECT_GT(total, 0u);
    EXPECT_NE(FileSystem::GetDriveTypeA(root.c_str()), GFile::NoRoot);
    EXPECT_EQ(FileSystem::GetDriveTypeA("/nonexistent/x"), GFile::NoRoot);
    if (std::filesystem::is_directory("/dev/shm")) {
        EXPECT_EQ(FileSystem::GetDriveTypeA("/dev/shm"), GFile::RAMDisk);
    }

    const GFile current = FileSystem::GetCurrentDirectoryA();
    EXPECT_TRUE(FileSystem::SetCurrentDirectoryA(root.c_str()));
    EXPECT_EQ(str(FileSystem::GetCurrentDirectoryA()), std::filesystem::current_path().string());
    EXPECT_TRUE(FileSystem::SetCurrentDirectoryA(current));
    EXPECT_FALSE(FileSystem::SetCurrentDirectoryA("/nonexistent/x"));
}

TEST(FileFind, ListsFilesAndDirectories) {
    TempDirectory folder;
    const std::string root = folder.path().string();
    for (const char* file : {"a.bmp", "b.BMP", "c.jpg", ".hidden.bmp", "noext"})
        writeFile(folder.path() / file, "x");
    for (const char* directory : {"sub", ".git"})
        std::filesystem::create_directory(folder.path() / directory);

    FileFind bitmaps((root + "/*.bmp").c_str());
    EXPECT_EQ(namesOf(bitmaps), (std::set<std::string>{root + "/a.bmp", root + "/b.BMP", root + "/.hidden.bmp"}));
    FileFind bare((root + "/*").c_str(), FileFind::Files, true);
    EXPECT_EQ(namesOf(bare), (std::set<std::string>{"noext"}));
    FileFind directories((root + "/*.*").c_str(), FileFind::Directories, true);
    EXPECT_EQ(namesOf(directories), (std::set<std::string>{"sub", ".."}));
    FileFind everything((root + "/").c_str(), FileFind::Files | FileFind::Directories, true);
    EXPECT_EQ(namesOf(everything).size(), 7u);
    FileFind rootDirectories("/*.*", FileFind::Directories, true);
    EXPECT_EQ(namesOf(rootDirectories).count(".."), 0u); // no way up from the root
    FileFind nothing("/nonexistent/*.*");
    EXPECT_FALSE(nothing);

    FileFind one((root + "/c.jpg").c_str());
    ASSERT_TRUE(one);
    EXPECT_EQ(one.kind, FileInfo::File);
    mpstream stream;
    stream << static_cast<const FileInfo&>(one);
    stream.seekg(0, GIO::FromBegin);
    FileInfo read;
    stream >> read;
    EXPECT_EQ(read.kind, FileInfo::File);
    EXPECT_EQ(read.size, 1u);
    EXPECT_EQ(str(read.name), root + "/c.jpg");
    EXPECT_EQ(read.time.tm_min, one.time.tm_min);
    std::ostringstream text;
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 11;
    time.tm_mday = 8;
    time.tm_hour = 9;
    time.tm_min = 4;
    text << time;
    EXPECT_EQ(text.str(), "2026-12-08 09:04:00");

    FileInfo huge(FileInfo::File, 5ULL << 32, time, GFile("big"));
    mpstream big;
    big << huge;
    big.seekg(0, GIO::FromBegin);
    big >> read;
    EXPECT_EQ(read.size, 0xFFFFFFFFu); // held at the largest stored size
}

TEST(GDynamicLinkLibrary, LoadsAndUnloadsAModule) {
    GDynamicLinkLibrary library;
    EXPECT_FALSE(library.load(nullptr));
    EXPECT_FALSE(library.load("/nonexistent/module.korplug"));
    EXPECT_TRUE(library.get_name().isEmpty());
    ASSERT_TRUE(library.load(SHAPES_MODULE));
    EXPECT_TRUE(library.loaded());
    EXPECT_TRUE(library.get_name().equals_to(SHAPES_MODULE));
    EXPECT_NE(GMetaClass::FindByName("GTestShape"), nullptr);
    library.unload();
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(GMetaClass::FindByName("GTestShape"), nullptr);
}
