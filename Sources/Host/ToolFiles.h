#pragma once
// What kortool's commands take from the command line: input files (or pipes) read whole, and numbers. Each way a
// path can fail to give data (absent, a directory, a device, unreadable, empty, too large, an offset at or past
// its end) raises an exception
// whose message names the file: FileIsAbsent_Exception for an absent file, std::runtime_error otherwise.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The most bytes a command reads: an endless device or a huge file is refused rather than read into memory.
inline constexpr std::uint64_t MaxToolInput = 1ULL << 30;

// The bytes of the file at `path` from byte `offset` on; at least one, at most MaxToolInput.
std::vector<unsigned char> readToolInput(const std::string& path, std::uint64_t offset);

// Writes `bytes` to a temporary file beside `path` and renames it over `path` only when all is written, so a failed
// write leaves what was there.
void writeToolOutput(const std::string& path, const std::vector<unsigned char>& bytes);

// The number in `text`: decimal digits, or hexadecimal ones after "0x". Empty for anything else, a sign, or a
// value beyond 64 bits.
std::optional<std::uint64_t> parseCount(const std::string& text);

// A signed decimal number: an optional '-' and digits, within 32 bits. Empty for anything else.
std::optional<long> parseSigned(const std::string& text);
