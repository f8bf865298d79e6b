#include "Core/Archives/ArchiveTesting.h"

#include "Archives/GResourceIterator.h"
#include "Core/Archives/GArchiveText.h"

#include <fstream>

namespace {

void listInto(GResourceFile& file, const GResourcePath& path, std::string& listing) {
    for (GResourceTypeIterator type(file, path); type; ++type)
        for (GResourceIterator item(file, GResourceFullType(path, type.name())); item; ++item) {
            const GResourceFullName name(path, type.name(), item.name());
            listing +=
                std::string(name.get_readable_form()) + "=" + std::string(TakeArchiveText(item.get(false))) + "\n";
        }
    for (GResourceSubDirectoryIterator directory(file, path); directory; ++directory) {
        GResourcePath below = path;
        below += directory.name();
        listing += std::string(below.get_readable_form()) + "\n";
        listInto(file, below, listing);
    }
}

} // namespace

std::string ArchiveListing(GResourceFile& file) {
    std::string listing;
    listInto(file, GResourcePath(), listing);
    return listing;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
