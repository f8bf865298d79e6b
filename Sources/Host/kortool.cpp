// kortool: a command-line tool for the system's files.
//   kortool dump FILE [--offset N]   the structure of an object stream
//   kortool --help | --version

#include "Errors/GException.h"
#include "Errors/GLibraryExceptions.h"
#include "StreamDump.h"
#include "Text/CoreStringTable.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const Usage = R"(Usage:
  kortool dump FILE [--offset N]   print the structure of the object stream in FILE, from byte N on
  kortool --help                   show this text
  kortool --version                show the version

dump lists every object frame with its class name, position and length, the objects nested in it and the
bytes between them. At the top level the stream is taken as a run of pointers (null, new object, reference).
Classes that this program does not know are marked: a reader without them skips their objects.
Malformed data ends the dump with the stream error and exit status 1.
)";

int usageError(const std::string& message) {
    std::cerr << "kortool: " << message << "\n\n" << Usage;
    return 2;
}

std::vector<unsigned char> readFrom(const std::string& path, std::size_t offset) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw new FileIsAbsent_Exception(path.c_str());
    in.seekg(static_cast<std::streamoff>(offset));
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

int dump(const std::vector<std::string>& args) {
    if (args.empty())
        return usageError("dump needs a file");
    std::size_t offset = 0;
    if (args.size() == 3 && args[1] == "--offset") {
        char* end = nullptr;
        offset = std::strtoull(args[2].c_str(), &end, 0);
        if (*end != '\0')
            return usageError("--offset takes a number");
    } else if (args.size() != 1) {
        return usageError("unexpected arguments to dump");
    }
    const std::vector<unsigned char> data = readFrom(args[0], offset);
    StreamDump(data, offset, std::cout).run();
    return 0;
}

int run(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << Usage;
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "kortool " << KORVANE_VERSION << '\n';
        return 0;
    }
    if (args[0] == "dump")
        return dump({args.begin() + 1, args.end()});
    return usageError("unknown command '" + args[0] + "'");
}

} // namespace

int main(int argc, char** argv) {
    AddCoreStringLoader();
    try {
        return run({argv + 1, argv + argc});
    } catch (CException* e) {
        CExceptionPtr<CException> held(e);
        char message[1024];
        e->GetErrorMessage(message, sizeof message);
        std::cout.flush();
        std::cerr << "kortool: " << message << '\n';
        return 1;
    }
}
