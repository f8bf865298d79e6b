#include "ArchiveCommands.h"

#include "Archives/ArchiveLayout.h"
#include "Archives/ArchiveReader.h"
#include "Archives/GResourceDirectoryList.h"
#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"
#include "Archives/ResourceTree.h"
#include "StreamDump.h"
#include "ToolFiles.h"
#include "win/CException.h"

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <tuple>

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw std::runtime_error("'" + path + "' " + what);
}

// An existing archive file must be a regular file with something in it.
void checkArchiveFile(const std::string& path, bool mayBeAbsent) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        if (mayBeAbsent)
            return;
        fail(path, "does not exist");
    }
    if (!std::filesystem::is_regular_file(status))
        fail(path, "is not a file");
    if (std::filesystem::file_size(path, error) == 0)
        fail(path, "is empty: it is not a resource archive");
}

// An archive none of whose trees reads is refused by every command: its data is left for whoever can mend it.
// Only storing may make a new archive.
void openArchive(GResourceFile& file, const std::string& path, int mode, bool mayBeAbsent = false) {
    checkArchiveFile(path, mayBeAbsent);
    if (!file.open(path.c_str(), mode))
        fail(path, "is not a resource archive");
    if (file.get_server()->is_unreadable())
        fail(path, "is damaged: none of its directory trees can be read");
    if (mode != GIO::ReadOnly && file.io_mode() != GIO::ReadWrite)
        fail(path, "cannot be written: it is read-only or another program is writing it");
}

GResourceFullName itemName(const std::string& text) {
    GResourceFullName name;
    name.parse_readable_form(text.c_str());
    if (name.get_name().isEmpty() || name.get_type().isEmpty())
        throw std::invalid_argument("'" + text + "' is no item name: give PATH\\NAME,TYPE");
    return name;
}

// Whether bytes hold an object stream: at least one frame, and nothing malformed on the way.
bool isObjectStream(const std::vector<unsigned char>& bytes) {
    std::ostream nowhere(nullptr);
    try {
        return !bytes.empty() && StreamDump(bytes, 0, nowhere).run() > 0;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        return false;
    }
}

std::string describe(const GResourceFileBlock& block) {
    std::string text = "stored " + std::to_string(block.storedSize) + " bytes";
    if (block.unpackedSize >= 0)
        text += ", object " + std::to_string(block.unpackedSize) + " bytes";
    return text + (block.compressed != 0 ? ", compressed" : ", plain");
}

void listDirectory(const GResourceDirectory& directory, const GResourcePath& path, std::ostream& out) {
    const std::string readable(path.get_readable_form());
    out << (readable.empty() ? "\\" : readable) << '\n';
    for (int t = 0; t < directory.getCount(); ++t) {
        const ResourceTypeItem* type = directory.at(t);
        for (int i = 0; i < type->items->getCount(); ++i) {
            const GResourceItem* item = type->items->at(i);
            out << "  " << item->key << ',' << type->type << "  " << describe(item->block) << '\n';
        }
    }
    if (const GResourceDirectoryList* list = directory.get_subdirectories())
        for (int d = 0; d < list->getCount(); ++d) {
            GResourcePath below = path;
            below += list->at(d)->get_name();
            listDirectory(*list->at(d), below, out);
        }
}

int list(const std::string& path, std::ostream& out) {
    GResourceFile file;
    openArchive(file, path, GIO::ReadOnly);
    GResourceFileServer& server = *file.get_server();
    GSingleLock lock(server.critical_section());
    out << path << ": archive at byte " << server.get_base() << ", " << server.get_end() << " bytes of data\n";
    listDirectory(server.root(), GResourcePath(), out);
    return 0;
}

int get(const std::string& path, const std::string& item, const std::optional<std::string>& target, std::ostream& out) {
    GResourceFile file;
    openArchive(file, path, GIO::ReadOnly);
    const GResourceFullName name = itemName(item);
    if (!file.exist(name))
        fail(path, "has no item '" + item + "'");
    const std::optional<std::vector<BYTE>> read = file.get_server()->read_object_stream(name);
    if (!read || !isObjectStream(*read))
        fail(path, "holds a damaged item '" + item + "'");
    const std::vector<unsigned char>& bytes = *read;
    if (target)
        writeToolOutput(*target, bytes);
    else
        StreamDump(bytes, 0, out).run();
    return 0;
}

int put(const std::string& path, const std::string& item, const std::string& source, std::ostream& out) {
    const GResourceFullName name = itemName(item);
    const std::vector<unsigned char> bytes = readToolInput(source, 0);
    if (!isObjectStream(bytes))
        fail(source, "holds no object stream");
    GResourceFile file;
    openArchive(file, path, GIO::ReadWrite, true);
    if (!file.get_server()->put_bytes(bytes.data(), bytes.size(), name))
        fail(path, "cannot hold '" + item + "': its path is deeper than " + std::to_string(ResourceTree::MaxDepth) +
                       " directories");
    file.flush();
    out << item << ": " << describe(file.get_resource_block(name)) << '\n';
    return 0;
}

int remove(const std::string& path, const std::string& item) {
    GResourceFile file;
    openArchive(file, path, GIO::ReadWrite);
    // A name without a comma is a directory.
    const bool removed = item.find(',') != std::string::npos ? file.remove(itemName(item))
                                                             : file.remove_directory(GResourcePath(item.c_str()));
    if (!removed)
        fail(path, "has no item or directory '" + item + "'");
    file.flush();
    return 0;
}

int pack(const std::string& path, std::ostream& out) {
    GResourceFile file;
    openArchive(file, path, GIO::ReadWrite);
    const auto before = std::filesystem::file_size(path);
    file.pack();
    out << path << ": " << before << " -> " << std::filesystem::file_size(path) << " bytes\n";
    return 0;
}

// Whether each block checked so far unpacks to a whole object stream: a block that several items or trees share
// is unpacked once.
using CheckedBlocks = std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t, BYTE>, bool>;

bool blockWhole(ArchiveReader& reader, const GResourceFileBlock& block, CheckedBlocks& checked) {
    const auto key = std::tuple(block.position, block.storedSize, block.unpackedSize, block.compressed);
    if (const auto known = checked.find(key); known != checked.end())
        return known->second;
    const std::optional<std::vector<BYTE>> bytes = reader.readBytes(block);
    return checked[key] = bytes && isObjectStream(*bytes);
}

// Checks one tree: every item's data must unpack to a whole object stream. Returns the count that do not.
int checkTree(ArchiveReader& reader, const GResourceDirectory& tree, CheckedBlocks& checked, std::ostream& out) {
    int damaged = 0;
    const std::vector<ResourceTree::Entry> entries = ResourceTree::ListItems(tree);
    for (const ResourceTree::Entry& entry : entries) {
        if (!blockWhole(reader, entry.item->block, checked)) {
            out << "    damaged: " << entry.name.get_readable_form() << '\n';
            ++damaged;
        }
    }
    out << "    " << entries.size() << " items, " << (damaged == 0 ? "all whole" : std::to_string(damaged) + " damaged")
        << '\n';
    return damaged;
}

// The state one trailer names: its tree must read and every item of it be whole.
bool checkState(zpstream& stream, long base, const ArchiveLayout::Trailer& trailer, CheckedBlocks& checked,
                unsigned long long& allowance, std::ostream& out) {
    const long end = trailer.start + static_cast<long>(ArchiveLayout::TrailerSize) - base;
    ArchiveReader reader(stream, base, end);
    const ArchiveReader::Tree tree = reader.readTree(static_cast<long>(trailer.tree), trailer.start, allowance);
    out << (tree ? "\n" : ", does not read\n");
    return tree && checkTree(reader, *tree, checked, out) == 0;
}

// Walks every trailer from the newest; the status says whether the newest state is whole.
int check(const std::string& path, std::ostream& out) {
    checkArchiveFile(path, false);
    zpstream stream;
    if (!stream.open(path.c_str(), GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareReadWrite))
        fail(path, "cannot be opened");
    GFileIO& device = *stream.getFileIO();
    const long size = device.gseek(0, GIO::FromEnd);
    const ArchiveLayout::Base base = ArchiveLayout::FindBase(device, 0, size);
    if (!base.found)
        fail(path, "is not a resource archive");
    out << path << ": archive at byte " << base.base << ", " << size << " bytes\n";
    std::optional<bool> newestWhole;
    std::optional<ArchiveLayout::Trailer> previous;
    std::map<std::uint32_t, bool> checkedTrees; // each tree is read once however many trailers name it
    CheckedBlocks checkedBlocks;
    unsigned long long allowance = ArchiveReader::TreeAllowance(size);
    for (long before = size;;) {
        const std::optional<ArchiveLayout::Trailer> trailer = ArchiveLayout::FindTrailer(device, base.base, before);
        if (!trailer)
            break;
        before = trailer->start;
        const bool twin = previous && previous->tree == trailer->tree &&
                          trailer->start + static_cast<long>(ArchiveLayout::TrailerSize) == previous->start;
        previous = trailer;
        if (twin)
            continue;
        const long end = trailer->start + static_cast<long>(ArchiveLayout::TrailerSize) - base.base;
        if (!newestWhole && end + base.base < size)
            out << "  " << size - end - base.base << " bytes after the newest trailer (a write not flushed)\n";
        out << "  trailer at " << trailer->start << ": tree at " << trailer->tree;
        bool whole = false;
        if (const auto known = checkedTrees.find(trailer->tree); known != checkedTrees.end()) {
            out << ", checked above\n";
            whole = known->second;
        } else {
            whole = checkedTrees[trailer->tree] =
                checkState(stream, base.base, *trailer, checkedBlocks, allowance, out);
        }
        if (!newestWhole)
            newestWhole = whole;
    }
    if (!newestWhole)
        fail(path, "has no trailer: no state of the archive can be read");
    out << (*newestWhole ? "newest state whole\n" : "newest state damaged\n");
    return *newestWhole ? 0 : 1;
}

void expectArguments(const std::vector<std::string>& args, std::size_t least, std::size_t most) {
    if (args.size() < least + 1 || args.size() > most + 1)
        throw std::invalid_argument("wrong number of arguments to archive " + args[0]);
}

} // namespace

int ArchiveCommand(const std::vector<std::string>& args, std::ostream& out) {
    if (args.empty())
        throw std::invalid_argument("archive needs a command: list, get, put, remove, pack or check");
    const std::string& command = args[0];
    if (command == "list" || command == "pack" || command == "check") {
        expectArguments(args, 1, 1);
        return command == "list" ? list(args[1], out) : command == "pack" ? pack(args[1], out) : check(args[1], out);
    }
    if (command == "get") {
        expectArguments(args, 2, 3);
        return get(args[1], args[2], args.size() == 4 ? std::optional(args[3]) : std::nullopt, out);
    }
    if (command == "put") {
        expectArguments(args, 3, 3);
        return put(args[1], args[2], args[3], out);
    }
    if (command == "remove") {
        expectArguments(args, 2, 2);
        return remove(args[1], args[2]);
    }
    throw std::invalid_argument("unknown archive command '" + command + "'");
}
