// libFuzzer target for one image format's reader (the class named by KORVANE_FUZZ_FORMAT, from its header
// KORVANE_FUZZ_FORMAT_HEADER): whatever the bytes, reading the information and the picture ends in a result or
// a clean failure, with no crash, leak, hang or allocation beyond the picture limit.

#include "Errors/GException.h"
#include "Imaging/GDIBImage.h"
#include "Streams/mpstream.h"
#include "Text/CoreStringTable.h"

#include KORVANE_FUZZ_FORMAT_HEADER

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AddCoreStringLoader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KORVANE_FUZZ_FORMAT format;
    try {
        impstream header(data, size);
        if (format.is(header)) {
            impstream info(data, size);
            FileImageInfo read;
            format.read_info(info, read);
        }
        impstream pixels(data, size);
        GDIBImage image;
        format.read_image(pixels, image);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
    }
    return 0;
}
