// The main of every test program: the tests run inside a temporary working folder, so nothing they write by a
// relative name (such as the diagnostic file) lands in the source tree.

#include "Support/TempDirectory.h"
#include "Support/TestStartup.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TempDirectory workFolder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(workFolder.path());
    KorvaneTestStartup();
    const int result = RUN_ALL_TESTS();
    std::filesystem::current_path(previous);
    return result;
}
