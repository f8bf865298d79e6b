// Formatting and string resources of GString.

#include "Text/GString.h"

#include "win/ModuleStringTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr unsigned FormatBufferSize = 4096;
constexpr unsigned LoadStep = 256;
// Longer than any string resource; a loader that still reports a full buffer here is taken as cut.
constexpr unsigned LoadLimit = 64 * 1024;

using Loader = std::pair<GString::LoadStringFunc, void*>;

std::vector<Loader>& loaders() {
    static std::vector<Loader> list;
    return list;
}

} // namespace

// Formatting

GString& GString::vformat(const char* fmt, va_list args) {
    if (fmt != nullptr && reinterpret_cast<std::uintptr_t>(fmt) < 0x10000)
        return vformat(static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(fmt)), args);
    if (fmt == nullptr) {
        empty();
        return *this;
    }
    char buffer[FormatBufferSize];
    const int written = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    return assign(buffer, static_cast<unsigned>(std::clamp(written, 0, int(FormatBufferSize) - 1)));
}

GString& GString::vformat(unsigned id, va_list args) {
    GString fmt;
    if (!fmt.loadString(id)) {
        empty();
        return *this;
    }
    return vformat(static_cast<const char*>(fmt), args);
}

GString& GString::vformat(HMODULE module, unsigned id, va_list args) {
    GString fmt;
    if (!fmt.loadString(module, id)) {
        empty();
        return *this;
    }
    return vformat(static_cast<const char*>(fmt), args);
}

GString& GString::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vformat(fmt, args);
    va_end(args);
    return *this;
}

GString& GString::format(unsigned id, ...) {
    va_list args;
    va_start(args, id);
    vformat(id, args);
    va_end(args);
    return *this;
}

GString& GString::format(HMODULE module, unsigned id, ...) {
    va_list args;
    va_start(args, id);
    vformat(module, id, args);
    va_end(args);
    return *this;
}

GString GString::Format(const char* fmt, ...) {
    GString result;
    va_list args;
    va_start(args, fmt);
    result.vformat(fmt, args);
    va_end(args);
    return result;
}

GString GString::Format(unsigned id, ...) {
    GString result;
    va_list args;
    va_start(args, id);
    result.vformat(id, args);
    va_end(args);
    return result;
}

GString GString::Format(HMODULE module, unsigned id, ...) {
    GString result;
    va_list args;
    va_start(args, id);
    result.vformat(module, id, args);
    va_end(args);
    return result;
}

// String resources

// Offers a buffer to one loader. While the text fills the buffer to fewer than 3 free bytes it may have been
// cut, so the buffer grows by 256 bytes and the loader is asked again.
bool GString::loadWith(LoadStringFunc func, void* context, unsigned id) {
    for (unsigned size = LoadStep;; size += LoadStep) {
        char* buffer = getBuffer(size);
        const unsigned count = std::min(func(id, buffer, size, context), size - 1);
        if (count == 0) {
            empty();
            return false;
        }
        if (size - count >= 3 || size >= LoadLimit) {
            releaseBuffer(count);
            return !isEmpty();
        }
    }
}

bool GString::loadString(unsigned id) {
    empty();
    const std::vector<Loader>& list = loaders();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (loadWith(it->first, it->second, id))
            return true;
    return false;
}

bool GString::loadString(HMODULE module, unsigned id) {
    empty();
    return loadWith(LoadModuleString, module, id);
}

void GString::AddLoadStringFunc(LoadStringFunc func, void* context) {
    if (func != nullptr)
        loaders().emplace_back(func, context);
}
