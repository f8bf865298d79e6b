#pragma once
// The whole contents of a file as bytes (empty when it cannot be read).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
