#include "Preferences/GPreference.h"

#include "Classes/GClassBoilerplate.h"
#include "Settings/GRegistryBinary.h"
#include "Settings/GRegistryDWord.h"
#include "Settings/GRegistryString.h"

G_IMPLEMENT_CLASS(GPreference, GObject)

namespace {

// The section of a preference value: its own, or the application's settings section for null.
const char* sectionOf(const char* section) {
    return section != nullptr ? section : "";
}

} // namespace

DWORD GPreference::ReadPrefInt(const char* section, const char* key, DWORD defaultValue) {
    GRegistryDWord value(nullptr, sectionOf(section), key, defaultValue);
    return value;
}

void GPreference::WritePrefInt(const char* section, const char* key, DWORD value) {
    GRegistryDWord(nullptr, sectionOf(section), key, value) = value;
}

GString GPreference::ReadPrefString(const char* section, const char* key, const char* defaultValue) {
    GRegistryString value(nullptr, sectionOf(section), key, defaultValue);
    return GString(static_cast<const char*>(value));
}

void GPreference::WritePrefString(const char* section, const char* key, const char* value) {
    GRegistryString(nullptr, sectionOf(section), key, "") = value;
}

bool GPreference::ReadPrefBinary(const char* section, const char* key, std::vector<BYTE>& value) {
    GRegistryBinary stored(nullptr, sectionOf(section), key);
    value.clear();
    if (!stored.validateCache())
        return false;
    const auto* data = static_cast<const BYTE*>(stored.getValue());
    value.assign(data, data + stored.getValueSize());
    return true;
}

void GPreference::WritePrefBinary(const char* section, const char* key, const void* data, DWORD size) {
    GRegistryBinary(nullptr, sectionOf(section), key).setValue(data, size);
}
