#include "win/Registry.h"

#include "win/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

// An open key: its full path ("HKEY_CURRENT_USER\Software\...").
struct HKEY__ {
    std::string path;
};

namespace {

std::mutex handlesLock;
std::set<HKEY> openHandles;

std::optional<std::string> rootName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (key == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    return std::nullopt;
}

std::optional<std::string> pathOf(HKEY key) {
    if (std::optional<std::string> root = rootName(key))
        return root;
    std::lock_guard guard(handlesLock);
    if (openHandles.count(key) == 0)
        return std::nullopt;
    return key->path;
}

// `path` and `subKey` joined, with empty components dropped ("a\\b\" is "a\b").
std::string joined(const std::string& path, const char* subKey) {
    std::string result = path;
    std::string part;
    const std::string sub = subKey != nullptr ? subKey : "";
    for (std::size_t at = 0; at <= sub.size(); ++at) {
        if (at == sub.size() || sub[at] == '\\') {
            if (!part.empty())
                result += "\\" + part;
            part.clear();
        } else {
            part += sub[at];
        }
    }
    return result;
}

// A key exists when it is a section of the store or lies above one.
bool exists(const RegistryKeys& keys, const std::string& path) {
    const std::string folded = FoldedRegistryName(path);
    if (folded.find('\\') == std::string::npos) // a root
        return true;
    const auto found = keys.lower_bound(folded);
    return found != keys.end() &&
           (found->first == folded || found->first.compare(0, folded.size() + 1, folded + "\\") == 0);
}

// The names of the keys right below `path`, in order.
std::vector<std::string> subKeysOf(const RegistryKeys& keys, const std::string& path) {
    const std::string prefix = FoldedRegistryName(path) + "\\";
    std::vector<std::string> names;
    for (auto it = keys.lower_bound(prefix); it != keys.end() && it->first.compare(0, prefix.size(), prefix) == 0;
         ++it) {
        const std::string rest = it->second.path.substr(prefix.size());
        const std::string name = rest.substr(0, rest.find('\\'));
        if (names.empty() || FoldedRegistryName(names.back()) != FoldedRegistryName(name))
            names.push_back(name);
    }
    return names;
}

// A name the store's lines can hold: a line break would end its line.
bool storableName(const std::string& name) {
    return name.find_first_of("\r\n") == std::string::npos;
}

HKEY openHandle(const std::string& path) {
    auto* handle = new HKEY__{path};
    std::lock_guard guard(handlesLock);
    openHandles.insert(handle);
    return handle;
}

// Copies `text` into a buffer of `*size` characters; ERROR_MORE_DATA when it does not fit with its zero.
LONG copyName(const std::string& text, char* buffer, DWORD* size) {
    if (size == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (buffer == nullptr || *size <= text.size()) {
        *size = static_cast<DWORD>(text.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *size = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

LONG copyData(const RegistryValue& value, DWORD* type, BYTE* data, DWORD* size) {
    if (type != nullptr)
        *type = value.type;
    if (size == nullptr)
        return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    const auto needed = static_cast<DWORD>(value.data.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr)
        std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

} // namespace

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD, char*, DWORD, REGSAM, void*, HKEY* result,
                     DWORD* disposition) {
    const std::optional<std::string> base = pathOf(key);
    if (!base || result == nullptr)
        return base ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
    const std::string path = joined(*base, subKey);
    if (!storableName(path))
        return ERROR_INVALID_PARAMETER;
    bool created = false;
    if (!RegistryStore::Instance().read([&](const RegistryKeys& keys) { return exists(keys, path); })) {
        const bool written = RegistryStore::Instance().change([&](RegistryKeys& keys) {
            RegistryKey& added = keys[FoldedRegistryName(path)];
            if (added.path.empty())
                added.path = path;
        });
        if (!written)
            return ERROR_WRITE_FAULT;
        created = true;
    }
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = openHandle(path);
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) {
    const std::optional<std::string> base = pathOf(key);
    if (!base || result == nullptr)
        return base ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
    const std::string path = joined(*base, subKey);
    if (!RegistryStore::Instance().read([&](const RegistryKeys& keys) { return exists(keys, path); }))
        return ERROR_FILE_NOT_FOUND;
    *result = openHandle(path);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (rootName(key))
        return ERROR_SUCCESS;
    std::lock_guard guard(handlesLock);
    if (openHandles.erase(key) == 0)
        return ERROR_INVALID_HANDLE;
    delete key;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    const std::optional<std::string> path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    return RegistryStore::Instance().read([&](const RegistryKeys& keys) {
        const auto found = keys.find(FoldedRegistryName(*path));
        if (found == keys.end())
            return ERROR_FILE_NOT_FOUND;
        const RegistryValue* value = found->second.find(valueName != nullptr ? valueName : "");
        return value != nullptr ? copyData(*value, type, data, size) : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegSetValueExA(HKEY key, const char* valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
    const std::optional<std::string> path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    RegistryValue value{valueName != nullptr ? valueName : "", type, {}};
    if ((data == nullptr && size != 0) || !storableName(value.name))
        return ERROR_INVALID_PARAMETER;
    if (data != nullptr)
        value.data.assign(data, data + size);
    const bool written = RegistryStore::Instance().change([&](RegistryKeys& keys) {
        RegistryKey& target = keys[FoldedRegistryName(*path)];
        if (target.path.empty())
            target.path = *path;
        if (RegistryValue* existing = target.find(value.name))
            *existing = value;
        else
            target.values.push_back(value);
    });
    return written ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RegDeleteValueA(HKEY key, const char* valueName) {
    const std::optional<std::string> path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    const std::string name = valueName != nullptr ? valueName : "";
    const bool present = RegistryStore::Instance().read([&](const RegistryKeys& keys) {
        const auto found = keys.find(FoldedRegistryName(*path));
        return found != keys.end() && found->second.find(name) != nullptr;
    });
    if (!present)
        return ERROR_FILE_NOT_FOUND;
    const bool written = RegistryStore::Instance().change([&](RegistryKeys& keys) {
        const auto found = keys.find(FoldedRegistryName(*path));
        if (found == keys.end())
            return;
        auto& values = found->second.values;
        values.erase(std::remove_if(values.begin(), values.end(),
                                    [&](const RegistryValue& v) {
                                        return FoldedRegistryName(v.name) == FoldedRegistryName(name);
                                    }),
                     values.end());
    });
    return written ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RegDeleteKeyA(HKEY key, const char* subKey) {
    const std::optional<std::string> base = pathOf(key);
    if (!base)
        return ERROR_INVALID_HANDLE;
    const std::string path = joined(*base, subKey);
    const LONG state = RegistryStore::Instance().read([&](const RegistryKeys& keys) {
        if (!exists(keys, path) || path == *base)
            return ERROR_FILE_NOT_FOUND;
        return subKeysOf(keys, path).empty() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    });
    if (state != ERROR_SUCCESS)
        return state;
    const bool written =
        RegistryStore::Instance().change([&](RegistryKeys& keys) { keys.erase(FoldedRegistryName(path)); });
    return written ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD*, char*, DWORD*, FILETIME* lastWrite) {
    const std::optional<std::string> path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    const std::vector<std::string> names =
        RegistryStore::Instance().read([&](const RegistryKeys& keys) { return subKeysOf(keys, *path); });
    if (index >= names.size())
        return ERROR_NO_MORE_ITEMS;
    if (lastWrite != nullptr)
        *lastWrite = {};
    return copyName(names[index], name, nameSize);
}

LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD*, DWORD* type, BYTE* data,
                   DWORD* dataSize) {
    const std::optional<std::string> path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    const std::optional<RegistryValue> value =
        RegistryStore::Instance().read([&](const RegistryKeys& keys) -> std::optional<RegistryValue> {
            const auto found = keys.find(FoldedRegistryName(*path));
            if (found == keys.end() || index >= found->second.values.size())
                return std::nullopt;
            return found->second.values[index];
        });
    if (!value)
        return ERROR_NO_MORE_ITEMS;
    const LONG named = copyName(value->name, name, nameSize);
    if (named != ERROR_SUCCESS)
        return named;
    return copyData(*value, type, data, dataSize);
}

LONG RegQueryInfoKeyA(HKEY key, char*, DWORD* classSize, DWORD*, DWORD* subKeys, DWORD* maxSubKeyLength,
                      DWORD* maxClassLength, DWORD* values, DWORD* maxValueNameLength, DWORD* maxValueLength,
                      DWORD* securityDescriptor, FILETIME* lastWrite) {
    const std::optional<std::string> path = pathOf(key);
    if (!path)
        return ERROR_INVALID_HANDLE;
    RegistryStore::Instance().read([&](const RegistryKeys& keys) {
        const std::vector<std::string> names = subKeysOf(keys, *path);
        const auto found = keys.find(FoldedRegistryName(*path));
        const std::vector<RegistryValue> none;
        const std::vector<RegistryValue>& list = found != keys.end() ? found->second.values : none;
        const auto set = [](DWORD* out, std::size_t v) {
            if (out != nullptr)
                *out = static_cast<DWORD>(v);
        };
        std::size_t longestKey = 0, longestName = 0, largest = 0;
        for (const std::string& n : names)
            longestKey = std::max(longestKey, n.size());
        for (const RegistryValue& v : list) {
            longestName = std::max(longestName, v.name.size());
            largest = std::max(largest, v.data.size());
        }
        set(classSize, 0);
        set(subKeys, names.size());
        set(maxSubKeyLength, longestKey);
        set(maxClassLength, 0);
        set(values, list.size());
        set(maxValueNameLength, longestName);
        set(maxValueLength, largest);
        set(securityDescriptor, 0);
        return 0;
    });
    if (lastWrite != nullptr)
        *lastWrite = {};
    return ERROR_SUCCESS;
}
