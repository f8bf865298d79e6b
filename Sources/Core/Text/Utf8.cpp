#include "Text/Utf8.h"

#include <cstring>

namespace Utf8 {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

unsigned sequenceLength(unsigned char lead) {
    if (lead < 0xC2)
        return 1;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    return lead < 0xF5 ? 4 : 1;
}

bool isAscii(const char* text) {
    for (; *text != '\0'; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    return true;
}

std::size_t spanWhile(const char* text, const char* set, bool inside) {
    const char* p = text;
    while (*p != '\0') {
        unsigned length = charLength(p);
        if (setContains(set, p, length) != inside)
            break;
        p += length;
    }
    return static_cast<std::size_t>(p - text);
}

char* put(char* out, unsigned byte) {
    *out = static_cast<char>(byte);
    return out + 1;
}

} // namespace

unsigned charLength(const char* p) noexcept {
    unsigned length = sequenceLength(static_cast<unsigned char>(*p));
    for (unsigned i = 1; i < length; ++i)
        if (!isContinuation(static_cast<unsigned char>(p[i])))
            return 1;
    return length;
}

std::size_t boundaryBefore(const char* text, std::size_t length) noexcept {
    while (length > 0 && isContinuation(static_cast<unsigned char>(text[length])))
        --length;
    return length;
}

bool setContains(const char* set, const char* p, unsigned length) noexcept {
    while (*set != '\0') {
        unsigned setLength = charLength(set);
        if (setLength == length && std::memcmp(set, p, length) == 0)
            return true;
        set += setLength;
    }
    return false;
}

// An ASCII set can never match part of a multibyte character, so the byte functions are exact for it.
std::size_t span(const char* text, const char* set) noexcept {
    return isAscii(set) ? std::strspn(text, set) : spanWhile(text, set, true);
}

std::size_t complementSpan(const char* text, const char* set) noexcept {
    return isAscii(set) ? std::strcspn(text, set) : spanWhile(text, set, false);
}

long fromUtf16(const char16_t* text, std::size_t count, char* out) noexcept {
    char* start = out;
    for (std::size_t i = 0; i < count; ++i) {
        unsigned c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            bool paired = c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (!paired)
                return -1;
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        }
        if (c < 0x80) {
            out = put(out, c);
        } else if (c < 0x800) {
            out = put(put(out, 0xC0 | (c >> 6)), 0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out = put(put(put(out, 0xE0 | (c >> 12)), 0x80 | ((c >> 6) & 0x3F)), 0x80 | (c & 0x3F));
        } else {
            out = put(out, 0xF0 | (c >> 18));
            out = put(put(put(out, 0x80 | ((c >> 12) & 0x3F)), 0x80 | ((c >> 6) & 0x3F)), 0x80 | (c & 0x3F));
        }
    }
    return static_cast<long>(out - start);
}

long toUtf16(const char* text, std::size_t length, char16_t* out) noexcept {
    const char16_t* start = out;
    for (std::size_t i = 0; i < length;) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const unsigned n = sequenceLength(lead);
        if (n > length - i || (n == 1 && lead >= 0x80))
            return -1;
        unsigned c = n == 1 ? lead : lead & (0xFF >> (n + 1));
        for (unsigned k = 1; k < n; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (!isContinuation(next))
                return -1;
            c = (c << 6) | (next & 0x3F);
        }
        const bool overlong = (n == 3 && c < 0x800) || (n == 4 && c < 0x10000);
        if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return -1;
        if (c >= 0x10000) {
            *out++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(c);
        }
        i += n;
    }
    return static_cast<long>(out - start);
}

} // namespace Utf8
