#include "Text/GStringFunctions.h"

#include "Text/Utf8.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

char* gnewstr(const char* text) {
    if (text == nullptr)
        return nullptr;
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}

namespace {

bool startsWithIgnoringCase(const char* text, const char* pattern) {
    for (; *pattern != '\0'; ++text, ++pattern)
        if (Utf8::toUpper(*text) != Utf8::toUpper(*pattern))
            return false;
    return true;
}

// The "C" locale, made once and kept for the life of the process.
locale_t classicLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return locale;
}

} // namespace

const char* gstristr(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr)
        return nullptr;
    for (const char* p = text;; ++p) {
        if (startsWithIgnoringCase(p, pattern))
            return p;
        if (*p == '\0')
            return nullptr;
    }
}

// The second conversion uses the "C" locale through strtod_l, which leaves the process locale untouched and so
// is safe while other threads run.
double gstr2d(const char* text, char** end) {
    char* stop = nullptr;
    double value = std::strtod(text, &stop);
    const bool stoppedAtFirstPoint = *stop == '.' && std::strchr(text, '.') == stop;
    if (stoppedAtFirstPoint && std::strcmp(localeconv()->decimal_point, ".") != 0 && classicLocale() != nullptr) {
        char* classicStop = nullptr;
        const double classicValue = strtod_l(text, &classicStop, classicLocale());
        if (classicStop > stop) {
            value = classicValue;
            stop = classicStop;
        }
    }
    if (end != nullptr)
        *end = stop;
    return value;
}
