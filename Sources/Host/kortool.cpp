// kortool: a command-line tool for the system's files.
//   kortool dump FILE [--offset N]   the structure of an object stream
//   kortool info FILE...             the format and size of pictures
//   kortool convert IN OUT           a picture into the format OUT's name selects
//   kortool archive COMMAND ...      the items of a resource archive
//   kortool render SCENE OUT         a scene composed into a picture
//   kortool compose BACKGROUND [OBJECT@X,Y]... -o SCENE   a scene made of pictures
//   kortool edit SCENE [-o OUT] OPERATION...   a scene changed by the application's commands
//   kortool --help | --version

#include "ArchiveCommands.h"
#include "EditCommands.h"
#include "Errors/GException.h"
#include "PictureFiles.h"
#include "SceneFiles.h"
#include "StreamDump.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"
#include "ToolFiles.h"

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const Usage = R"(Usage:
  kortool dump FILE [--offset N]   print the structure of the object stream in FILE, from byte N on
  kortool info FILE...             print the format, width and height of each picture, and a scene's models
  kortool convert IN OUT           write the picture in IN in the format that OUT's name selects
  kortool render SCENE OUT         compose the scene and write the picture in the format OUT's name selects
  kortool compose BACKGROUND [OBJECT@X,Y]... -o SCENE
                                   make a scene of the background picture with each object picture at X,Y
                                   (its mask from its transparency)
  kortool edit SCENE [-o OUT] OPERATION...
                                   open the scene as a document, apply each operation as the application's
                                   command, then save it to OUT (a scene, or a picture by OUT's name) or back:
                                     add IMAGE@X,Y        a picture as a new object, selected
                                     select NAME [--top]  select the object, bringing it to the top
                                     delete               delete the selected object
                                     background IMAGE     a picture as the new background
                                     undo, redo           the last step undone, or redone
                                     command CLASSNAME    a command built from its class, on the selection
  kortool archive list FILE        print the directories and items of the resource archive FILE
  kortool archive get FILE ITEM [OUT]
                                   write ITEM's object stream to OUT, or print its structure as dump does
  kortool archive put FILE ITEM IN store the object stream in IN as ITEM (FILE is made when absent)
  kortool archive remove FILE ITEM remove ITEM, or the directory ITEM when it has no comma
  kortool archive pack FILE        rewrite FILE without the data no item uses
  kortool archive check FILE       read every state of FILE from the newest; fail when the newest is damaged
  kortool --help                   show this text
  kortool --version                show the version

dump lists every object frame with its class name, position and length, the objects nested in it and the
bytes between them. At the top level the stream is taken as a run of pointers (null, new object, reference).
Classes that this program does not know are marked: a reader without them skips their objects. N is a byte
count, decimal or hexadecimal after 0x.
ITEM names an archive item as PATH\NAME,TYPE (slashes work as well).
Pictures are read in any format this program knows (BMP, JPEG, PNG), whatever their names say; convert
writes a temporary file beside OUT and puts it in OUT's place only when it is complete.
Exit status: 0 on success, 1 when a file cannot be read or written or holds malformed data (or no object
stream or picture at all), 2 for a command line it does not understand, 3 when convert read a picture whose
data ends early (it is written as far as the data goes, with a warning naming the file).
)";

constexpr int CutShortStatus = 3;

int usageError(const std::string& message) {
    std::cerr << "kortool: " << message << "\n\n" << Usage;
    return 2;
}

std::string messageOf(const CException& e) {
    char message[1024];
    e.GetErrorMessage(message, sizeof message);
    return message;
}

int failure(const std::string& message) {
    std::cout.flush();
    std::cerr << "kortool: " << message << '\n';
    return 1;
}

int dump(const std::vector<std::string>& args) {
    if (args.empty())
        return usageError("dump needs a file");
    std::uint64_t offset = 0;
    if (args.size() == 3 && args[1] == "--offset") {
        const std::optional<std::uint64_t> number = parseCount(args[2]);
        if (!number)
            return usageError("--offset takes a byte count, not '" + args[2] + "'");
        offset = *number;
    } else if (args.size() != 1) {
        return usageError("unexpected arguments to dump");
    }
    const std::vector<unsigned char> data = readToolInput(args[0], offset);
    if (StreamDump(data, offset, std::cout).run() == 0)
        return failure("'" + args[0] + "' holds no object frame: it is not an object stream");
    return 0;
}

// Every file is tried; the status says whether all could be read.
int info(const std::vector<std::string>& args) {
    if (args.empty())
        return usageError("info needs a file");
    int status = 0;
    for (const std::string& path : args) {
        try {
            const std::vector<unsigned char> bytes = readToolInput(path, 0);
            if (isScene(bytes)) {
                const ScenePtr scene = readScene(path, bytes);
                std::cout << path << ": scene, " << scene->get_width() << " x " << scene->get_height() << '\n';
                printSceneTree(*scene, std::cout);
                continue;
            }
            const PictureInfo picture = readPictureInfo(path, bytes);
            std::cout << path << ": " << picture.format << ", " << picture.size.width << " x " << picture.size.height
                      << '\n';
        } catch (CException* e) {
            CExceptionPtr<> held(e);
            status = failure(messageOf(*e));
        } catch (const std::exception& e) {
            status = failure(e.what());
        }
    }
    return status;
}

int convert(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usageError("convert needs an input and an output file");
    GDIBImage image;
    bool cutShort = false;
    const std::string format = readPicture(args[0], readToolInput(args[0], 0), image, &cutShort);
    writeToolOutput(args[1], encodePicture(args[1], image));
    std::cout << args[0] << " (" << format << ", " << image.get_width() << " x " << image.get_height() << ") -> "
              << args[1] << '\n';
    if (!cutShort)
        return 0;
    std::cout.flush();
    std::cerr << "kortool: warning: '" << args[0] << "' ends early; the picture is read as far as its data goes\n";
    return CutShortStatus;
}

int render(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usageError("render needs a scene and an output file");
    const ScenePtr scene = readScene(args[0], readToolInput(args[0], 0));
    GDIBImage picture;
    picture.copy(scene->getCombinedImage());
    writeToolOutput(args[1], encodePicture(args[1], picture));
    std::cout << args[0] << " (" << scene->get_width() << " x " << scene->get_height() << ", " << scene->getChildCount()
              << " objects) -> " << args[1] << '\n';
    return 0;
}

int compose(const std::vector<std::string>& args) {
    if (args.size() < 3 || args[args.size() - 2] != "-o")
        return usageError("compose needs a background picture, objects as PATH@X,Y, and -o SCENE");
    std::vector<ScenePart> objects;
    for (std::size_t i = 1; i + 2 < args.size(); ++i) {
        const std::optional<ScenePart> part = parseScenePart(args[i]);
        if (!part)
            return usageError("'" + args[i] + "' is no object: give PATH@X,Y");
        objects.push_back(*part);
    }
    const ScenePtr scene = composeScene(args[0], objects);
    writeToolOutput(args.back(), encodeScene(*scene));
    std::cout << args.back() << ": " << scene->get_width() << " x " << scene->get_height() << ", " << objects.size()
              << " objects\n";
    return 0;
}

int edit(const std::vector<std::string>& args) {
    try {
        return EditCommand(args, std::cout);
    } catch (const std::invalid_argument& e) {
        return usageError(e.what());
    }
}

int archive(const std::vector<std::string>& args) {
    try {
        return ArchiveCommand(args, std::cout);
    } catch (const std::invalid_argument& e) {
        return usageError(e.what());
    }
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
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "dump")
        return dump(rest);
    if (args[0] == "info")
        return info(rest);
    if (args[0] == "convert")
        return convert(rest);
    if (args[0] == "archive")
        return archive(rest);
    if (args[0] == "render")
        return render(rest);
    if (args[0] == "compose")
        return compose(rest);
    if (args[0] == "edit")
        return edit(rest);
    return usageError("unknown command '" + args[0] + "'");
}

} // namespace

int main(int argc, char** argv) {
    AddCoreStringLoader();
    AddUIStringLoader();
    try {
        return run({argv + 1, argv + argc});
    } catch (CException* e) {
        CExceptionPtr<CException> held(e);
        return failure(messageOf(*e));
    } catch (const std::exception& e) {
        return failure(e.what());
    }
}
