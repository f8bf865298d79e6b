#include "Errors/GDiag.h"

#include "Support/TempDirectory.h"

#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

TEST(GDiag, ExceptionMessages) {
    const GCheckException check("p != 0", "gfile", 12);
    EXPECT_EQ(std::string(check.getMessage()), "Check failure: 'p != 0'\non line 12 in file 'gfile'");
    EXPECT_EQ(check.getLine(), 12u);
    EXPECT_EQ(std::string(GPreconditionException("n > 0", "gcoll", 7).getMessage()),
              "Precondition failure: 'n > 0'\non line 7 in file 'gcoll'");
    EXPECT_EQ(std::string(GDiagException("Custom", "x", "f", 1).getMessage()),
              "Custom failure: 'x'\non line 1 in file 'f'");
}

TEST(GDiag, StreamWritesToTheNamedFile) {
    TempDirectory folder;
    const auto first = folder.path() / "first.out";
    const auto second = folder.path() / "second.out";
    {
        std::ofstream stale(first);
        stale << "stale contents\n";
    }

    GDiagSetFileName(first.c_str());
    GDiagStream("gstring", "check", 42) << "message one" << std::endl;
    EXPECT_EQ(readFile(first), "gstring check 42: message one\n"); // opened truncating

    GDiagSetFileName(second.c_str());
    GDiagStream() << "to second" << std::endl;
    EXPECT_EQ(readFile(second), "to second\n");
    EXPECT_EQ(readFile(first), "gstring check 42: message one\n");

    // The default name lands in the current directory (the test program's temporary folder).
    GDiagSetFileName(nullptr);
    GDiagStream() << "default" << std::endl;
    EXPECT_EQ(readFile("gdiag.out"), "default\n");

    GDiagSetFileName(std::string(400, 'n').c_str()); // cut to 255 bytes; opening it may fail, writing must not
    GDiagStream() << "long name";
    GDiagSetFileName("");
}
