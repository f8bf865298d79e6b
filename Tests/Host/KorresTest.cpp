// korres, the build's image resource compiler: what it makes of file names, and its refusals.

#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>

namespace {

int korres(const std::string& arguments) {
    const int raw = std::system((std::string(KORRES) + " " + arguments + " 2>err.txt").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

void copyImage(const std::string& name) {
    std::filesystem::copy_file(std::string(TEST_IMAGES) + "/130.png", name,
                               std::filesystem::copy_options::overwrite_existing);
}

} // namespace

TEST(Korres, NamesNumbersAndCursorsFromFileNames) {
    copyImage("7.png");
    copyImage("Hand_2.cursor-3-4.png");
    ASSERT_EQ(korres("out.cpp 7.png Hand_2.cursor-3-4.png"), 0) << readFile("err.txt");
    const std::string out = readFile("out.cpp");
    EXPECT_NE(out.find("{7, nullptr, 2, 2, Pixels0, false, 0, 0}"), std::string::npos) << out;
    EXPECT_NE(out.find("{0, \"HAND_2\", 2, 2, Pixels1, true, 3, 4}"), std::string::npos) << out;
}

TEST(Korres, RefusesWhatIsNoResource) {
    copyImage("bad name.png");
    copyImage("0.png");
    std::ofstream("text.png") << "not a picture";
    EXPECT_EQ(korres("out.cpp 'bad name.png'"), 1);
    EXPECT_NE(readFile("err.txt").find("a resource name is letters, digits and '_'"), std::string::npos);
    EXPECT_EQ(korres("out.cpp 0.png"), 1);
    EXPECT_NE(readFile("err.txt").find("resource numbers run from 1 to 65535"), std::string::npos);
    EXPECT_EQ(korres("out.cpp text.png"), 1);
    EXPECT_EQ(korres("out.cpp missing.png"), 1);
    EXPECT_EQ(korres("out.cpp"), 2);
}
