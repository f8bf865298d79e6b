// Writes the archive fuzzer's seed inputs into the folder given: archives of every shape the reader meets.

#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"
#include "Fuzz/FuzzClasses.h"
#include "IO/GMemoryIO.h"
#include "Text/CoreStringTable.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

GResourceFullName nameOf(const char* readable) {
    GResourceFullName name;
    name.parse_readable_form(readable);
    return name;
}

void putItem(GResourceFile& file, const char* readable, int value) {
    GFuzzItem item;
    item.value = value;
    item.name = readable;
    item.where = GPoint(value, -value);
    file.put(&item, nameOf(readable), false);
}

// Items in directories written through several flushes, one removed and one replaced.
void writeHistory(const std::filesystem::path& path) {
    GResourceFile file(path.c_str(), GIO::ReadWrite);
    putItem(file, "A\\one,item", 1);
    file.flush();
    putItem(file, "A\\B\\two,item", 2);
    putItem(file, "three,other", 3);
    file.flush();
    file.remove(nameOf("three,other"));
    putItem(file, "A\\one,item", 4);
    // A plain block beside the compressed ones.
    GMemoryIO stored;
    stored.open(0);
    file.extract_to(stored, nameOf("A\\B\\two,item"), true);
    file.get_server()->copy_from(nameOf("plain,item"), stored, 0, stored.gtell(), GResourceFileBlock(false));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ArchiveSeeds FOLDER\n");
        return 2;
    }
    AddCoreStringLoader();
    const std::filesystem::path folder = argv[1];
    { GResourceFile empty((folder / "empty.kpk").c_str(), GIO::ReadWrite); }
    writeHistory(folder / "history.kpk");
    // Behind an executable image of one 64-byte page.
    std::string executable(64, '\0');
    executable.replace(0, 6, std::string("MZ\x40\x00\x01\x00", 6));
    std::ofstream((folder / "behind.exe").c_str(), std::ios::binary) << executable;
    writeHistory(folder / "behind.exe");
    return 0;
}
