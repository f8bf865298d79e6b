// libFuzzer target for the settings store's reader (the REGEDIT4 text): whatever the bytes, reading ends in keys
// or a clean refusal, with no crash, leak or hang; and what was read, written and read again, is written the same,
// so that a rewrite of the store loses nothing of what a reading found.

#include "win/RegistryText.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto keys = ParseRegistry(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!keys)
        return 0;
    const std::string written = FormatRegistry(*keys);
    const auto again = ParseRegistry(written, error);
    if (!again || FormatRegistry(*again) != written) {
        std::fprintf(stderr, "the store does not read back as it was written:\n%s\n", written.c_str());
        std::abort();
    }
    return 0;
}
