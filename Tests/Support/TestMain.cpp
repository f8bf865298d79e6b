// The main of every test program: the tests run inside a temporary working folder, so nothing they write by a
// relative name (such as the diagnostic file) lands in the source tree, and their settings store is there too.

#include "Support/TempDirectory.h"
#include "Support/TestStartup.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TempDirectory workFolder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(workFolder.path());
    // Settings go to a store of the test run's own, without the shipped defaults unless a test asks for them.
    setenv("KORVANE_REGISTRY", (workFolder.path() / "settings.reg").c_str(), 1);
    setenv("KORVANE_REGISTRY_DEFAULTS", (workFolder.path() / "no-defaults.reg").c_str(), 1);
    KorvaneTestStartup();
    const int result = RUN_ALL_TESTS();
    std::filesystem::current_path(previous);
    return result;
}
