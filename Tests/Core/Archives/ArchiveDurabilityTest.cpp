// What the archive promises about data on disk: any cut of the file opens in the state of an earlier flush,
// damage never crashes a reader, a second writer is refused while a reader sees the last flushed state, and
// several threads can work through one archive.

#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"
#include "Core/Archives/ArchiveTesting.h"
#include "Core/Archives/GArchiveText.h"
#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

GResourceFullName itemName(const std::string& readable) {
    GResourceFullName name;
    name.parse_readable_form(readable.c_str());
    return name;
}

void putText(GResourceFile& file, const std::string& readable, const std::string& text) {
    GArchiveText object(text.c_str());
    ASSERT_TRUE(file.put(&object, itemName(readable), false));
}

std::string listingOf(const std::filesystem::path& path) {
    GResourceFile file(path.c_str(), GIO::ReadOnly);
    return file.is_opened() ? ArchiveListing(file) : "<not an archive>";
}

// An archive written through several flushes; each flush's listing with the position where its first trailer
// starts (from there on, a cut file holds that flush's state).
struct FlushHistory {
    std::string bytes;
    std::vector<std::pair<long, std::string>> states;
};

FlushHistory writeThroughFlushes(const char* name) {
    FlushHistory history;
    GResourceFile file(name, GIO::ReadWrite);
    const auto record = [&] {
        history.states.emplace_back(static_cast<long>(std::filesystem::file_size(name)) - 48, ArchiveListing(file));
    };
    record(); // the new archive's empty state
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i <= round; ++i)
            putText(file, "R" + std::to_string(round) + "\\item" + std::to_string(i) + ",t",
                    std::string(40 * (i + 1), static_cast<char>('a' + round)));
        if (round == 3)
            file.remove(itemName("R1\\item0,t"));
        file.flush();
        record();
    }
    // Data put after the last flush is in the file, but no trailer names it yet.
    putText(file, "unflushed,t", "written after the last flush");
    history.bytes = readFile(name);
    return history;
}

// The state a file cut to `size` bytes must open in: that of the newest flush with a whole trailer in it.
const std::string& expectedState(const FlushHistory& history, long size) {
    const std::string* state = &history.states.front().second;
    for (const auto& [trailerStart, listing] : history.states)
        if (trailerStart + 24 <= size)
            state = &listing;
    return *state;
}

} // namespace

TEST(ArchiveDurability, EveryCutOpensInTheStateOfAnEarlierFlush) {
    const FlushHistory history = writeThroughFlushes("history.kpk");
    const long size = static_cast<long>(history.bytes.size());
    ASSERT_GT(size, 1000);
    ASSERT_EQ(history.states.size(), 6u);
    for (long cut = size; cut >= 8; --cut) {
        WriteBytes("cut.kpk", history.bytes.substr(0, static_cast<std::size_t>(cut)));
        ASSERT_EQ(listingOf("cut.kpk"), expectedState(history, cut)) << "cut at " << cut << " of " << size;
    }
    // The last 30 bytes gone (into both trailers): the previous flush's state, and writing goes on from it.
    const std::string& previous = history.states[history.states.size() - 2].second;
    WriteBytes("cut.kpk", history.bytes.substr(0, static_cast<std::size_t>(history.states.back().first + 48 - 30)));
    {
        GResourceFile file("cut.kpk", GIO::ReadWrite);
        EXPECT_EQ(ArchiveListing(file), previous);
        putText(file, "later,t", "later");
    }
    EXPECT_EQ(listingOf("cut.kpk"), "later,t=later\n" + previous);
}

TEST(ArchiveDurability, DamageNeverCrashesAndDamagedTrailersFallBackToTheirTwin) {
    const FlushHistory history = writeThroughFlushes("damage.kpk");
    const std::string whole = history.bytes.substr(0, static_cast<std::size_t>(history.states.back().first + 48));
    // Any byte of the last double trailer: the other copy holds.
    for (std::size_t at = whole.size() - 48; at < whole.size(); ++at) {
        std::string damaged = whole;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        WriteBytes("damaged.kpk", damaged);
        EXPECT_EQ(listingOf("damaged.kpk"), history.states.back().second) << "byte " << at;
    }
    // Anywhere else: whatever opens, reading every item must not crash or leak.
    std::mt19937 random(1234);
    for (int trial = 0; trial < 400; ++trial) {
        std::string damaged = whole;
        const std::size_t at = 8 + random() % (whole.size() - 8);
        damaged[at] = static_cast<char>(random() % 256);
        WriteBytes("damaged.kpk", damaged);
        listingOf("damaged.kpk");
    }
}

// Run by the test below as a second process: it is refused writing and reads the state last flushed.
TEST(ArchiveDurability, SecondProcessSide) {
    const char* path = std::getenv("KORVANE_ARCHIVE_SECOND_PROCESS");
    if (path == nullptr)
        GTEST_SKIP() << "runs only as the second process of WritersAreAloneAndReadersSeeTheFlushedState";
    GResourceFile file(path, GIO::ReadWrite);
    ASSERT_TRUE(file.is_opened());
    EXPECT_EQ(file.io_mode(), GIO::ReadOnly);
    GArchiveText object("intruder");
    EXPECT_FALSE(file.put(&object, itemName("intruder,t"), false));
    EXPECT_EQ(ArchiveListing(file), "flushed,t=flushed\n");
}

namespace {

// Runs one test of this program in a process of its own, with `variable` set; true when it passes.
bool runInOwnProcess(const std::string& test, const std::string& variable) {
    const std::string filter = "--gtest_filter=ArchiveDurability." + test;
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.push_back(*entry);
    environment.push_back(const_cast<char*>(variable.c_str()));
    environment.push_back(nullptr);
    char* arguments[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(filter.c_str()), nullptr};
    pid_t child = 0;
    int status = 0;
    return posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, arguments, environment.data()) == 0 &&
           waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(ArchiveDurability, WritersAreAloneAndReadersSeeTheFlushedState) {
    const auto path = std::filesystem::absolute("alone.kpk");
    GResourceFile writer(path.c_str(), GIO::ReadWrite);
    putText(writer, "flushed,t", "flushed");
    writer.flush();
    putText(writer, "pending,t", "pending");
    EXPECT_TRUE(runInOwnProcess("SecondProcessSide", "KORVANE_ARCHIVE_SECOND_PROCESS=" + path.string()));
    EXPECT_EQ(ArchiveListing(writer), "flushed,t=flushed\npending,t=pending\n");
}

// Run by the test below as a process of its own: a handle that lives until the process ends.
TEST(ArchiveDurability, EndingProcessSide) {
    const char* path = std::getenv("KORVANE_ARCHIVE_ENDING_PROCESS");
    if (path == nullptr)
        GTEST_SKIP() << "runs only as the process of ServersFlushWhenTheProcessEnds";
    static GResourceFile file(path, GIO::ReadWrite);
    putText(file, "unflushed,t", "kept at the end");
}

TEST(ArchiveDurability, ServersFlushWhenTheProcessEnds) {
    const auto path = std::filesystem::absolute("ending.kpk");
    ASSERT_TRUE(runInOwnProcess("EndingProcessSide", "KORVANE_ARCHIVE_ENDING_PROCESS=" + path.string()));
    EXPECT_EQ(listingOf(path), "unflushed,t=kept at the end\n");
}

TEST(ArchiveDurability, ThreadsPutAndGetThroughOneArchive) {
    constexpr int Threads = 4;
    constexpr int Items = 150;
    std::vector<std::thread> threads;
    std::vector<int> wrong(Threads, 0);
    for (int t = 0; t < Threads; ++t)
        threads.emplace_back([t, &wrong] {
            GResourceFile file("threads.kpk", GIO::ReadWrite);
            for (int i = 0; i < Items; ++i) {
                const std::string name = "T" + std::to_string(t) + "\\i" + std::to_string(i) + ",t";
                const std::string text = std::to_string(t * 1000 + i);
                GArchiveText object(text.c_str());
                file.put(&object, itemName(name), false);
                if (i % 10 == 0)
                    file.flush();
                if (std::string(TakeArchiveText(file.get(itemName(name), false))) != text)
                    ++wrong[static_cast<std::size_t>(t)];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(Threads, 0));
    GResourceFile file("threads.kpk", GIO::ReadOnly);
    const std::string listing = ArchiveListing(file);
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '='), Threads * Items);
}
