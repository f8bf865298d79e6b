#include "Formats/FormatTesting.h"

#include "Errors/GException.h"
#include "Streams/mpstream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

std::filesystem::path testDataRoot() {
    const char* root = std::getenv("KORVANE_TESTDATA");
    return root != nullptr ? root : KORVANE_TESTDATA_DIR;
}

std::vector<std::filesystem::path> testFiles(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(testDataRoot() / folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::filesystem::path> testFiles(std::initializer_list<const char*> folders) {
    std::vector<std::filesystem::path> files;
    for (const char* folder : folders)
        for (const auto& file : testFiles(folder))
            files.push_back(file);
    return files;
}

void expectDecisions(GDIBReaderWriter& format, const std::vector<std::filesystem::path>& files,
                     const std::map<std::string, bool>& decided) {
    ASSERT_EQ(files.size(), decided.size());
    for (const auto& path : files) {
        const ReadOutcome outcome = readWith(format, fileBytes(path));
        EXPECT_EQ(outcome.read, decided.at(path.filename().string())) << path;
        EXPECT_FALSE(outcome.raised) << path;
    }
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ReadOutcome readWith(GDIBReaderWriter& format, const std::string& bytes) {
    ReadOutcome outcome;
    impstream stream(bytes.data(), bytes.size());
    try {
        outcome.read = format.read_image(stream, outcome.image);
        outcome.cutShort = stream.cutShortPictures() > 0;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        outcome.raised = true;
    }
    return outcome;
}

std::string writeWith(GDIBReaderWriter& format, const GDIBImage& image) {
    mpstream stream;
    if (!format.write_image(stream, image))
        return {};
    return std::string(static_cast<const char*>(stream.data()), stream.length());
}

GDIBImage samplePicture(int width, int height, unsigned seed) {
    GDIBImage image(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.set_pixel(x, y, static_cast<DWORD>(random()) | static_cast<DWORD>((x + y) % 256) << 24);
    return image;
}

bool samePixels(const GDIBImage& a, const GDIBImage& b) {
    if (a.get_width() != b.get_width() || a.get_height() != b.get_height())
        return false;
    for (int y = 0; y < a.get_height(); ++y)
        if (!std::equal(a.get_line_address(y), a.get_line_address(y) + a.get_width(), b.get_line_address(y)))
            return false;
    return true;
}
