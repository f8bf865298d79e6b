// Writes the stream fuzzer's seed inputs into the folder given.

#include "Fuzz/FuzzClasses.h"
#include "Text/CoreStringTable.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: StreamSeeds FOLDER\n");
        return 2;
    }
    AddCoreStringLoader();
    WriteFuzzSeeds(argv[1]);
    return 0;
}
