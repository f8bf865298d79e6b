#pragma once
// UTF-8 character handling for the multibyte operations of GString: characters are whole UTF-8 sequences, so
// set membership and spans never split one.

#include <cstddef>

namespace Utf8 {

// Case folding of ASCII letters; other bytes, including every byte of a multibyte character, stay as they are.
constexpr char toLower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
constexpr char toUpper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Bytes in the character at `p` (1 to 4); 1 for a byte that does not start a complete, valid sequence.
unsigned charLength(const char* p) noexcept;

// The largest cut of `text` at or below `length` bytes that does not split a character.
std::size_t boundaryBefore(const char* text, std::size_t length) noexcept;

// The character at `p` (charLength bytes) occurs as a whole character in the zero-terminated `set`.
bool setContains(const char* set, const char* p, unsigned length) noexcept;

// Bytes at the start of `text` whose characters all belong to `set` (span) or none does (complementSpan).
std::size_t span(const char* text, const char* set) noexcept;
std::size_t complementSpan(const char* text, const char* set) noexcept;

// Converts `count` UTF-16 units to UTF-8 in `out`, which holds at least 3 * count bytes. Returns the bytes
// written, or -1 for an unpaired surrogate.
long fromUtf16(const char16_t* text, std::size_t count, char* out) noexcept;

// Converts `length` bytes of UTF-8 to UTF-16 in `out`, which holds at least `length` units. Returns the units
// written, or -1 for bytes that are not UTF-8.
long toUtf16(const char* text, std::size_t length, char16_t* out) noexcept;

} // namespace Utf8
