#include "Classes/GMetaData.h"

#include "Classes/GMetaClass.h"
#include "Threads/GCriticalSection.h"

#include <cstring>
#include <map>

namespace {

// A stored value: up to 8 bytes inline, larger ones in a heap copy.
class Value {
public:
    Value(const void* data, std::size_t size, GMetaData::FreeFunc freeFunc) : m_free(freeFunc) {
        if (size > sizeof m_inline)
            m_heap = new unsigned char[size];
        std::memcpy(address(), data, size);
    }
    ~Value() {
        if (m_free != nullptr)
            m_free(address());
        delete[] m_heap;
    }
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;

    void* address() { return m_heap != nullptr ? m_heap : static_cast<void*>(m_inline); }

private:
    alignas(8) unsigned char m_inline[8] = {};
    unsigned char* m_heap = nullptr;
    GMetaData::FreeFunc m_free;
};

using ClassValues = std::map<const GMetaClass*, Value>;

struct Store {
    GCriticalSection lock;
    std::map<const GMetaIndex*, ClassValues> values;
    long liveIndexes = 0;
};

// Kept apart from the values: the lock and the count outlive every store that is deleted with its last index.
Store& store() {
    static Store* instance = new Store;
    return *instance;
}

Value* findExact(Store& s, const GMetaIndex* index, const GMetaClass* meta) {
    auto byIndex = s.values.find(index);
    if (byIndex == s.values.end())
        return nullptr;
    auto byClass = byIndex->second.find(meta);
    return byClass == byIndex->second.end() ? nullptr : &byClass->second;
}

// The class's own value, else the first value found among its direct bases in order, depth first.
Value* findInherited(Store& s, const GMetaIndex* index, const GMetaClass* meta) {
    if (Value* own = findExact(s, index, meta))
        return own;
    for (int i = 0; i < meta->getAncestorsCount(); ++i)
        if (const GMetaClass* base = meta->getAncestor(i))
            if (Value* inherited = findInherited(s, index, base))
                return inherited;
    return nullptr;
}

} // namespace

GMetaIndex::GMetaIndex() {
    Store& s = store();
    GSingleLock guard(s.lock);
    ++s.liveIndexes;
}

GMetaIndex::~GMetaIndex() {
    Store& s = store();
    GSingleLock guard(s.lock);
    if (--s.liveIndexes == 0)
        s.values.clear();
}

bool GMetaData::SetMetaData(const GMetaIndex* index, const GMetaClass* meta, const void* data, std::size_t size,
                            FreeFunc freeFunc) {
    if (index == nullptr || meta == nullptr)
        return false;
    Store& s = store();
    GSingleLock guard(s.lock);
    ClassValues& values = s.values[index];
    values.erase(meta);
    values.try_emplace(meta, data, size, freeFunc);
    return true;
}

const void* GMetaData::GetMetaData(const GMetaIndex* index, const GMetaClass* meta, bool lookInherited) {
    if (index == nullptr || meta == nullptr)
        return nullptr;
    Store& s = store();
    GSingleLock guard(s.lock);
    Value* value = lookInherited ? findInherited(s, index, meta) : findExact(s, index, meta);
    return value != nullptr ? value->address() : nullptr;
}

void GMetaData::RemoveMetaData(const GMetaIndex* index, const GMetaClass* meta) {
    Store& s = store();
    GSingleLock guard(s.lock);
    auto byIndex = s.values.find(index);
    if (byIndex != s.values.end())
        byIndex->second.erase(meta);
}

bool GMetaData::setData(const void* data, std::size_t size, FreeFunc freeFunc) {
    return SetMetaData(m_index, m_class, data, size, freeFunc);
}

bool GMetaData::setBool(bool value) {
    return setData(&value, sizeof value);
}

bool GMetaData::setLong(long value) {
    return setData(&value, sizeof value);
}

bool GMetaData::setDouble(double value) {
    return setData(&value, sizeof value);
}

bool GMetaData::setPtr(void* ptr, FreeFunc freeFunc) {
    return setData(&ptr, sizeof ptr, freeFunc);
}

const void* GMetaData::getData() const {
    return GetMetaData(m_index, m_class, m_lookInherited);
}

template <class T>
T GMetaData::get(T defaultValue) const {
    const void* data = getData();
    if (data == nullptr)
        return defaultValue;
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

bool GMetaData::getBool(bool defaultValue) const {
    return get(defaultValue);
}

long GMetaData::getLong(long defaultValue) const {
    return get(defaultValue);
}

float GMetaData::getFloat(float defaultValue) const {
    return get(defaultValue);
}

double GMetaData::getDouble(double defaultValue) const {
    return get(defaultValue);
}

void GMetaData::removeData() {
    RemoveMetaData(m_index, m_class);
}
