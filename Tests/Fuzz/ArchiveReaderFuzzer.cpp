// libFuzzer target for the resource archive reader: whatever the bytes of a file, opening it as an archive and
// reading every item (object, class name, stored and unpacked data) ends in results or clean refusals, with no
// crash, leak, hang or allocation beyond what the file can hold.

#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"
#include "Archives/ResourceTree.h"
#include "Fuzz/FuzzClasses.h"
#include "IO/GMemoryIO.h"
#include "Text/CoreStringTable.h"
#include "win/CException.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// The archive reader works on files: every input is written to this one.
std::string archivePath;

void readEveryItem(GResourceFile& file) {
    std::vector<GResourceFullName> names;
    {
        GResourceFileServer& server = *file.get_server();
        GSingleLock lock(server.critical_section());
        for (const ResourceTree::Entry& entry : ResourceTree::ListItems(server.root()))
            names.push_back(entry.name);
    }
    for (const GResourceFullName& name : names) {
        if (GStreamable* object = file.get(name, false))
            object->destroyThis();
        file.get(name, true); // kept by the archive
        file.read_class_name(name);
        for (const bool unpack : {false, true}) {
            GMemoryIO target;
            target.open(0);
            try {
                file.extract_to(target, name, unpack);
            } catch (CException* e) {
                CExceptionPtr<> held(e);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AddCoreStringLoader();
    char pattern[] = "/tmp/korvane-archive-fuzz-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0)
        std::abort();
    close(fd);
    archivePath = pattern;
    std::atexit([] { std::remove(archivePath.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(archivePath.c_str(), "wb");
    if (out == nullptr || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0)
        std::abort();
    GResourceFile file(archivePath.c_str(), GIO::ReadOnly);
    if (file.is_opened())
        readEveryItem(file);
    return 0;
}
