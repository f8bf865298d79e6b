#pragma once
// The class boilerplate of every registered class X:
//   in the class body:  G_CLASS(X)                        (leaves the access at public)
//   in one source file: G_IMPLEMENT_CLASS(X, Base...)     for a class built by name
//                       G_IMPLEMENT_ABSTRACT_CLASS(X, Base...) for one that is not
// They give X its static record `metaclass_`, `getMetaClass`, `cast_to_` and, for concrete classes,
// `ClassBuilder_` and `ClassDestroyer_`.

#include "Classes/GRTTIObject.h"

#include <array>
#include <typeinfo>

// `self` when `type` is X, else the first base whose cast_to_ answers.
template <class X, class... Bases>
void* GCastTo(const X* self, const std::type_info& type) {
    if (type == typeid(X))
        return const_cast<X*>(self);
    void* result = nullptr;
    ((result = result != nullptr ? result : static_cast<const Bases*>(self)->Bases::cast_to_(type)), ...);
    return result;
}

template <class... Bases>
std::array<const GMetaClass*, sizeof...(Bases)> GBaseRecords() {
    return {&Bases::metaclass_...};
}

template <class X>
GRTTIObject* GBuildObject() {
    X* object = new X;
    return static_cast<GRTTIObject*>(object->cast_to_(typeid(GRTTIObject)));
}

template <class X>
void GDestroyObject(GRTTIObject* object) {
    if (object != nullptr)
        delete static_cast<X*>(object->cast_to_(typeid(X)));
}

#define G_CLASS(X)                                                                                                     \
public:                                                                                                                \
    static const GMetaClass metaclass_;                                                                                \
    const GMetaClass& getMetaClass() const override {                                                                  \
        return metaclass_;                                                                                             \
    }                                                                                                                  \
    void* cast_to_(const std::type_info& type) const override;                                                         \
    static GRTTIObject* ClassBuilder_();                                                                               \
    static void ClassDestroyer_(GRTTIObject* object);

#define G_IMPLEMENT_CAST(X, ...)                                                                                       \
    void* X::cast_to_(const std::type_info& type) const {                                                              \
        return GCastTo<X __VA_OPT__(, ) __VA_ARGS__>(this, type);                                                      \
    }

#define G_IMPLEMENT_CLASS(X, ...)                                                                                      \
    G_IMPLEMENT_CAST(X, __VA_ARGS__)                                                                                   \
    GRTTIObject* X::ClassBuilder_() {                                                                                  \
        return GBuildObject<X>();                                                                                      \
    }                                                                                                                  \
    void X::ClassDestroyer_(GRTTIObject* object) {                                                                     \
        GDestroyObject<X>(object);                                                                                     \
    }                                                                                                                  \
    const GMetaClass X::metaclass_(typeid(X), #X, &X::ClassBuilder_, &X::ClassDestroyer_, GBaseRecords<__VA_ARGS__>());

#define G_IMPLEMENT_ABSTRACT_CLASS(X, ...)                                                                             \
    G_IMPLEMENT_CAST(X, __VA_ARGS__)                                                                                   \
    const GMetaClass X::metaclass_(typeid(X), #X, nullptr, nullptr, GBaseRecords<__VA_ARGS__>());
