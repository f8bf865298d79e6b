#include "Settings/GRegistryVariable.h"

#include "Errors/GDiag.h"
#include "win/RegistryStore.h"

#include <cstring>
#include <ostream>
#include <vector>

namespace {

constexpr REGSAM ReadWrite = 0x2001F;
constexpr const char* ApplicationKey = "Software\\Orvelcraft\\Korvane";

GRegistryVariable::AppKeyProvider appKeyProvider = nullptr;

// The settings store reports a store it had to set aside through the core's diagnostics.
const struct InstallStoreReporter {
    InstallStoreReporter() {
        RegistryStore::SetReporter([](const char* message) { GDiagStream() << message << std::endl; });
    }
} installStoreReporter;

} // namespace

GString GRegistryVariable::AppSettingsSection;

GRegistryVariable::GRegistryVariable(HKEY root, const char* section, const char* valueName, DWORD type)
    : m_root(root), m_section(section), m_valueName(valueName), m_type(type) {}

void GRegistryVariable::setHKey(HKEY root) {
    m_root = root;
    m_cacheValid = 0;
}

void GRegistryVariable::setSection(const char* section) {
    m_section = section;
    m_cacheValid = 0;
}

void GRegistryVariable::setValueName(const char* valueName) {
    m_valueName = valueName;
    m_cacheValid = 0;
}

void GRegistryVariable::setType(DWORD type) {
    m_type = type;
    m_cacheValid = 0;
}

void GRegistryVariable::setDefault(const void* data, DWORD size) {
    if (!m_cacheValid)
        m_cache.set(data, size);
}

bool GRegistryVariable::validateCache() {
    if (m_cacheValid)
        return true;
    HKEY key = getHKey();
    if (key == nullptr)
        return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, m_valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == m_type &&
        holdsSize(size)) {
        std::vector<BYTE> data(size);
        if (RegQueryValueExA(key, m_valueName, nullptr, &type, data.data(), &size) == ERROR_SUCCESS &&
            holdsSize(size)) {
            m_cache.set(data.data(), size);
            m_cacheValid = 1;
        }
    }
    RegCloseKey(key);
    return m_cacheValid != 0;
}

const void* GRegistryVariable::getBuffer() {
    validateCache();
    return m_cache.getBuffer();
}

DWORD GRegistryVariable::getBufferSize() {
    validateCache();
    return m_cache.getBufferSize();
}

bool GRegistryVariable::getValue(void* buffer, DWORD size) {
    validateCache();
    if (size != m_cache.getBufferSize())
        return false;
    std::memcpy(buffer, m_cache.getBuffer(), size);
    return true;
}

bool GRegistryVariable::setValue(const void* data, DWORD size) {
    m_cache.set(data, size);
    m_cacheValid = 1;
    HKEY key = getHKey();
    if (key == nullptr)
        return false;
    const LONG result =
        RegSetValueExA(key, m_valueName, 0, m_type, static_cast<const BYTE*>(m_cache.getBuffer()), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void GRegistryVariable::removeValue() {
    if (HKEY key = getHKey()) {
        RegDeleteValueA(key, m_valueName);
        RegCloseKey(key);
    }
}

HKEY GRegistryVariable::getHKey() const {
    HKEY root = m_root;
    HKEY application = nullptr;
    if (root == nullptr)
        root = application = GetAppRegistryKey();
    if (root == nullptr)
        return nullptr;
    const GString& section = m_section.isEmpty() ? AppSettingsSection : m_section;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, section, 0, nullptr, 0, ReadWrite, nullptr, &key, nullptr) != ERROR_SUCCESS)
        key = nullptr;
    if (application != nullptr)
        RegCloseKey(application);
    return key;
}

void GRegistryVariable::SetAppRegistryKeyProvider(AppKeyProvider provider) {
    appKeyProvider = provider;
}

HKEY GRegistryVariable::GetAppRegistryKey() {
    if (appKeyProvider != nullptr)
        return appKeyProvider();
    HKEY key = nullptr;
    return RegCreateKeyExA(HKEY_CURRENT_USER, ApplicationKey, 0, nullptr, 0, ReadWrite, nullptr, &key, nullptr) ==
                   ERROR_SUCCESS
               ? key
               : nullptr;
}
