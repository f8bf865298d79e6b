#include "win/Processes.h"
#include "win/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

TEST(Processes, CommandLinesSplitByWindowsRules) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine(R"(1 "C:\Temp dir\Korvane01.jpg")"), (Words{"1", R"(C:\Temp dir\Korvane01.jpg)"}));
    EXPECT_EQ(SplitCommandLine("  a\tb  "), (Words{"a", "b"}));
    EXPECT_EQ(SplitCommandLine(R"(a\\\"b "c d"e)"), (Words{R"(a\"b)", "c de"}));
    EXPECT_EQ(SplitCommandLine(R"(a\\"b c" d)"), (Words{R"(a\b c)", "d"}));
    EXPECT_EQ(SplitCommandLine(R"(path\to\file "")"), (Words{R"(path\to\file)", ""}));
    EXPECT_EQ(SplitCommandLine(""), Words{});
    EXPECT_EQ(SplitCommandLine(nullptr), Words{});
}

TEST(Processes, StartsAProgramThatRunsOnItsOwn) {
    const auto marker = std::filesystem::absolute("started.txt");
    // The program gets the words of the command line as its arguments, the first one as its name.
    std::string commandLine = "sh -c \"echo \\\"$0\\\" > \\\"$0\\\"\" \"" + marker.string() + "\"";
    PROCESS_INFORMATION information{};
    ASSERT_TRUE(CreateProcessA("/bin/sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                               &information));
    EXPECT_NE(information.dwProcessId, 0u);
    EXPECT_TRUE(CloseHandle(information.hProcess));
    EXPECT_TRUE(CloseHandle(information.hThread));
    EXPECT_FALSE(CloseHandle(information.hThread));
    for (int wait = 0; wait < 200 && !std::filesystem::exists(marker); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(marker);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, marker.string());

    std::string missing = "1 \"x\"";
    EXPECT_FALSE(CreateProcessA("/nonexistent/ScenePost.exe", missing.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, nullptr, &information));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
}
