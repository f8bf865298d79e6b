#pragma once
// What an image file says of its picture before its pixels are read.

struct FileImageInfo {
    int width = 0;
    int height = 0;
};
