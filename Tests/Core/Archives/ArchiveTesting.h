#pragma once
// Helpers of the archive tests: a whole archive's contents as text, and file bytes in and out.

#include "Archives/GResourceFile.h"

#include <filesystem>
#include <string>

// Every directory, and every item with the text it reads back as, one per line, in tree order.
std::string ArchiveListing(GResourceFile& file);

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
