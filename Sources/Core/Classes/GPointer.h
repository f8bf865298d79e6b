#pragma once
// Weak pointers: a GPointer refers to a GObject without owning it and becomes null when the object is
// destroyed. All weak pointers of the process are linked in one list guarded by a lock.

class GObject;

class GPointer {
public:
    GPointer();
    GPointer(const GPointer& other);
    GPointer(GObject* object);
    virtual ~GPointer();

    GPointer& operator=(const GPointer& other);
    GPointer& operator=(GObject* object);

    bool operator!() const { return m_object == nullptr; }
    explicit operator bool() const { return m_object != nullptr; }
    GObject* getObject() const { return m_object; }

    // Called when the object dies; sets the pointer to null. Typed pointers may do more.
    virtual void object_destroyed();

    // Tells every weak pointer to `object` that it dies (called by the GObject destructor).
    static void ObjectDestroyed(GObject* object);

private:
    void link();

    GObject* m_object;
    GPointer* m_next = nullptr;
    GPointer* m_previous = nullptr;
};

// A weak pointer typed as T, a class derived from GObject.
template <class T>
class TGPointer : public GPointer {
public:
    TGPointer() = default;
    TGPointer(T* object) : GPointer(object) {}

    TGPointer& operator=(T* object) {
        GPointer::operator=(object);
        return *this;
    }

    T* get() const { return static_cast<T*>(getObject()); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
};
