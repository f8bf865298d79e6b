#pragma once
// FileInfo: what is known of one file, directory or drive: its kind, size, modification time (broken down, local)
// and name.

#include "Files/GFile.h"

#include <ctime>
#include <iosfwd>

class FileInfo {
public:
    enum Kind { File = 1, Directory = 2, Drive = 4 };

    FileInfo() = default;
    FileInfo(int kind, unsigned long long size, const std::tm& time, const GFile& name);

    int kind = 0;
    // 64 bits here, as files pass 4 GB; stored as 32 bits, held at the largest value.
    unsigned long long size = 0;
    // Seconds to years as std::tm counts them; the weekday, day of the year and summer-time flag are 0.
    std::tm time{};
    GFile name;
};

// Persistent form: kind and size as double words, the time, the name.
opstream& operator<<(opstream& stream, const FileInfo& info);
ipstream& operator>>(ipstream& stream, FileInfo& info);
// A broken-down time: its nine fields as double words.
opstream& operator<<(opstream& stream, const std::tm& time);
ipstream& operator>>(ipstream& stream, std::tm& time);
// As text: "2026-12-08 09:43:05".
std::ostream& operator<<(std::ostream& out, const std::tm& time);
