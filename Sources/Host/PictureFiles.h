#pragma once
// Pictures in files for kortool: read with the format that recognises the data, written with the format that a
// file name selects. Failures raise std::runtime_error with a message that names the file.

#include "ImageFormats/FileImageInfo.h"
#include "Imaging/GDIBImage.h"

#include <string>
#include <vector>

struct PictureInfo {
    std::string format; // the format's display name
    FileImageInfo size;
};

PictureInfo readPictureInfo(const std::string& path, const std::vector<unsigned char>& bytes);
// Reads the picture; returns the display name of its format. `cutShort`, when given, tells whether the data ended
// before the picture did (it is then read as far as the data goes).
std::string readPicture(const std::string& path, const std::vector<unsigned char>& bytes, GDIBImage& image,
                        bool* cutShort = nullptr);
// The file's bytes in the format that its name selects.
std::vector<unsigned char> encodePicture(const std::string& path, const GDIBImage& image);
