// libFuzzer target for the object stream reader: whatever the bytes, reading ends in objects or in an exception
// of the stream family, with no crash, leak or hang.

#include "Errors/GException.h"
#include "Fuzz/FuzzClasses.h"
#include "IO/GCompressionIO.h"
#include "IO/GMemoryIO.h"
#include "Streams/iopstream.h"
#include "Text/CoreStringTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AddCoreStringLoader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    auto* memory = new GMemoryIO;
    memory->open(const_cast<std::uint8_t*>(data + 1), size - 1, GIO::ReadOnly);
    auto* device = new GCompressionIO(memory, 64);
    device->compression_level((mode & 2) != 0 ? -1 : 0);
    device->setInflateBudget(64 << 20); // a bomb stops early; the default is too large for a fuzzing loop
    iopstream stream(device);
    stream.endian((mode & 1) != 0 ? pstream::BigEndian : pstream::LittleEndian);
    try {
        for (int i = 0; i < 8; ++i)
            stream.readPointer(typeid(GStreamable));
    } catch (CException* e) {
        CExceptionPtr<> held(e);
    }
    stream.destroyReadObjects();
    return 0;
}
