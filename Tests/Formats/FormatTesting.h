#pragma once
// Reading and writing pictures through a format in the format tests.

#include "ImageFormats/GDIBReaderWriter.h"
#include "Imaging/GDIBImage.h"

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// The test pictures: $KORVANE_TESTDATA, else Tests/Data of the sources.
std::filesystem::path testDataRoot();
// The files of a folder of the test pictures, sorted.
std::vector<std::filesystem::path> testFiles(const std::string& folder);
// The files of several folders, folder after folder.
std::vector<std::filesystem::path> testFiles(std::initializer_list<const char*> folders);
std::string fileBytes(const std::filesystem::path& path);

// What reading a file gave: the picture, or why not.
struct ReadOutcome {
    bool read = false;
    bool raised = false;   // InvalidFileFormat_Exception, or an error of the stream below
    bool cutShort = false; // the reader noted that the data ends before the picture does
    GDIBImage image;
};
ReadOutcome readWith(GDIBReaderWriter& format, const std::string& bytes);
// Every file reads or fails as `decided` says for its name (one entry per file), and none raises.
void expectDecisions(GDIBReaderWriter& format, const std::vector<std::filesystem::path>& files,
                     const std::map<std::string, bool>& decided);
std::string writeWith(GDIBReaderWriter& format, const GDIBImage& image);

// A picture with every kind of pixel: colours from a seed, alpha from 0 to 255.
GDIBImage samplePicture(int width, int height, unsigned seed);
bool samePixels(const GDIBImage& a, const GDIBImage& b);
