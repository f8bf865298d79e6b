#include "Settings/GRegistryString.h"

#include <cstring>

namespace {

const char* orEmpty(const char* text) {
    return text != nullptr ? text : "";
}

DWORD sizeWithZero(const char* text) {
    return static_cast<DWORD>(std::strlen(text) + 1);
}

} // namespace

GRegistryString::GRegistryString(HKEY root, const char* section, const char* valueName, const char* defaultValue)
    : GRegistryVariable(root, section, valueName, REG_SZ) {
    setDefaultValue(defaultValue);
}

GRegistryString& GRegistryString::operator=(const char* text) {
    setValue(orEmpty(text), sizeWithZero(orEmpty(text)));
    return *this;
}

// A value written by hand may lack its zero: such bytes are no text for the callers of a C string.
GRegistryString::operator const char*() {
    const auto* text = static_cast<const char*>(getBuffer());
    const DWORD size = getBufferSize();
    return size > 0 && std::memchr(text, 0, size) != nullptr ? text : "";
}

void GRegistryString::setDefaultValue(const char* text) {
    setDefault(orEmpty(text), sizeWithZero(orEmpty(text)));
}
