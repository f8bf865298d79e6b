#pragma once
// Meta data: values attached to (key, class) pairs, where the key is the address of a GMetaIndex. A lookup may
// inherit along the class tree: a class without a value of its own takes the first value of its bases. The
// store is process-wide and guarded by one lock; it is deleted when the last GMetaIndex goes.

#include <cstddef>

class GMetaClass;

class GMetaIndex {
public:
    GMetaIndex();
    ~GMetaIndex();
    GMetaIndex(const GMetaIndex&) = delete;
    GMetaIndex& operator=(const GMetaIndex&) = delete;
};

class GMetaData {
public:
    // Called with the address of the stored value when the value is replaced, removed or the store goes.
    using FreeFunc = void (*)(void* value);

    GMetaData() = default;
    explicit GMetaData(const GMetaIndex* index) : m_index(index) {}
    GMetaData(const GMetaIndex* index, const GMetaClass* meta) : m_index(index), m_class(meta) {}

    void setMetaIndex(const GMetaIndex* index) { m_index = index; }
    void setMetaClass(const GMetaClass* meta) { m_class = meta; }
    const GMetaIndex* getMetaIndex() const { return m_index; }
    const GMetaClass* getMetaClass() const { return m_class; }
    void lookInheritedAlso(bool flag) { m_lookInherited = flag; }
    bool lookInheritedAlso() const { return m_lookInherited; }

    // The setters copy the value into the store; they return false when the index or the class is missing.
    bool setData(const void* data, std::size_t size, FreeFunc freeFunc = nullptr);
    bool setBool(bool value);
    bool setLong(long value);
    bool setDouble(double value);
    // Stores the pointer itself; `freeFunc` receives the address of the stored pointer.
    bool setPtr(void* ptr, FreeFunc freeFunc = nullptr);

    // The stored value, null when there is none.
    const void* getData() const;
    bool getBool(bool defaultValue) const;
    long getLong(long defaultValue) const;
    float getFloat(float defaultValue) const;
    double getDouble(double defaultValue) const;
    void removeData();

    static bool SetMetaData(const GMetaIndex* index, const GMetaClass* meta, const void* data, std::size_t size,
                            FreeFunc freeFunc);
    static const void* GetMetaData(const GMetaIndex* index, const GMetaClass* meta, bool lookInherited);
    static void RemoveMetaData(const GMetaIndex* index, const GMetaClass* meta);

private:
    template <class T>
    T get(T defaultValue) const;

    const GMetaIndex* m_index = nullptr;
    const GMetaClass* m_class = nullptr;
    bool m_lookInherited = true;
};
