// The desktop program run as a person starts it: its help, its refusal without a display, and a screenshot of
// its main window under a virtual display showing the scene it opened.

#include "Host/KortoolRunner.h"
#include "PictureFiles.h"
#include "ToolFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

Outcome korvane(const std::string& arguments) {
    const std::string command = std::string(KORVANE) + " " + arguments + " >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile("out.txt"), readFile("err.txt")};
}

bool haveVirtualDisplay() {
    return std::system("command -v xvfb-run >/dev/null 2>&1") == 0;
}

// The program with `arguments` under a virtual display, its output in out.txt and err.txt; the wait status. A run
// that fails only in xvfb-run's own clean-up (its status 5 and its message) says nothing of the program and is
// tried again, as it happens now and then when several virtual displays start and stop at once.
int underVirtualDisplay(const std::string& arguments) {
    const std::string command =
        std::string("timeout 60 xvfb-run -a ") + KORVANE + " " + arguments + " >out.txt 2>err.txt";
    for (int attempt = 1;; ++attempt) {
        const int raw = std::system(command.c_str());
        const bool cleanUpFailed =
            WIFEXITED(raw) && WEXITSTATUS(raw) == 5 && readFile("err.txt").find("xvfb-run: error") != std::string::npos;
        if (!cleanUpFailed || attempt == 3)
            return raw;
    }
}

} // namespace

TEST(KorvaneProgram, HelpAndNoDisplay) {
    Outcome outcome = korvane("--help");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_NE(outcome.out.find("--screenshot OUT.png [FILE]"), std::string::npos);
    outcome = korvane("--frobnicate");
    EXPECT_EQ(outcome.status, 2);
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY ") + KORVANE + " >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(readFile("err.txt").find("no graphical display"), std::string::npos);
}

TEST(KorvaneProgram, AScreenshotShowsTheOpenedScene) {
    if (!haveVirtualDisplay())
        GTEST_SKIP() << "xvfb-run is not installed";
    GDIBImage background(60, 40);
    background.full_fill(0xFF2040C0);
    writeToolOutput("bg.png", encodePicture("bg.png", background));
    ASSERT_EQ(kortool("compose bg.png -o shown.kor").status, 0);
    const int raw = underVirtualDisplay("--screenshot shot.png shown.kor");
    ASSERT_EQ(WEXITSTATUS(raw), 0) << readFile("err.txt");
    GDIBImage shot;
    readPicture("shot.png", readToolInput("shot.png", 0), shot);
    ASSERT_EQ(shot.get_width(), 800);
    ASSERT_EQ(shot.get_height(), 600);
    // The scene view (26, 17 to 585, 438) centres the 60 x 40 scene: its middle is at (305, 227).
    EXPECT_EQ(shot.get_pixel(305, 227) & 0xFFFFFF, 0x2040C0u);
    EXPECT_NE(shot.get_pixel(40, 30) & 0xFFFFFF, 0x2040C0u);
}

// Unwatched, a file that does not open is said on standard error and ends the run with a failure, whatever it is;
// no dialog waits for a click.
TEST(KorvaneProgram, AScreenshotOfAFileThatDoesNotOpenFailsWithAMessage) {
    if (!haveVirtualDisplay())
        GTEST_SKIP() << "xvfb-run is not installed";
    writeToolOutput("noise.kor", std::vector<unsigned char>{0x4B, 0x4F, 0x52, 0x00, 0x13, 0x37, 0xFF, 0x01});
    writeToolOutput("empty.kor", std::vector<unsigned char>{});
    std::filesystem::create_directories("folder.kor");
    for (const char* file : {"noise.kor", "empty.kor", "folder.kor", "missing.kor"}) {
        const int raw = underVirtualDisplay(std::string("--screenshot shot.png ") + file);
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), 1) << file << (WEXITSTATUS(raw) == 124 ? ": it waited" : "");
        EXPECT_NE(readFile("err.txt").find(std::string("korvane: ")), std::string::npos) << file;
        EXPECT_NE(readFile("err.txt").find(file), std::string::npos) << file << ": the file is named";
    }
}

TEST(KorvaneProgram, ItMeasuresItsStartToTheFirstPaintedFrame) {
    if (!haveVirtualDisplay())
        GTEST_SKIP() << "xvfb-run is not installed";
    const int raw = underVirtualDisplay("--startup-time");
    ASSERT_EQ(WEXITSTATUS(raw), 0) << readFile("err.txt");
    double milliseconds = -1;
    EXPECT_EQ(std::sscanf(readFile("out.txt").c_str(), "korvane: the first frame was painted %lf ms after start",
                          &milliseconds),
              1);
    EXPECT_GT(milliseconds, 0);
}
