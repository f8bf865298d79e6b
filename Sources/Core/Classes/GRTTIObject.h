#pragma once
// GRTTIObject: the root of every class that is found, built or streamed by its run-time class record.

#include "Classes/GMetaClass.h"

#include <typeinfo>

class GRTTIObject {
public:
    static const GMetaClass metaclass_;

    virtual ~GRTTIObject();
    // The class's own static record.
    virtual const GMetaClass& getMetaClass() const;
    // This object's address as `type` when that is its class or any base, else null.
    virtual void* cast_to_(const std::type_info& type) const;

    const GMetaClass& getClassIdentifier() const { return getMetaClass(); }
    const char* getClassName() const { return getMetaClass().getName(); }
    bool isKindOf(const GMetaClass* meta) const;
    bool isKindOf(const char* name) const;
    bool hasTheSameClassAs(const GMetaClass* meta) const;
    bool hasTheSameClassAs(const GRTTIObject* other) const;
    bool hasTheSameClassAs(const char* name) const;
    // Destroys this object through its class record.
    void destroyThis();
};

// The object `p` points to; std::bad_cast when p is null.
template <class T>
T& check_ptr_for_typesafe_cast_(T* p) {
    if (p == nullptr)
        throw std::bad_cast();
    return *p;
}

// An object of the class, built by its record, as a T; null when there is no class, the class is abstract or its
// objects are no T (the object built is then destroyed again).
template <class T>
T* BuildObjectAs(const GMetaClass* meta) {
    GRTTIObject* built = meta != nullptr ? meta->buildObject() : nullptr;
    auto* object = built != nullptr ? static_cast<T*>(built->cast_to_(typeid(T))) : nullptr;
    if (object == nullptr && built != nullptr)
        meta->destroyObject(built);
    return object;
}
