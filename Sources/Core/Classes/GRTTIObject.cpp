#include "Classes/GRTTIObject.h"

#include "Classes/GClassBoilerplate.h"

const GMetaClass GRTTIObject::metaclass_(typeid(GRTTIObject), "GRTTIObject", nullptr, nullptr, nullptr);

GRTTIObject::~GRTTIObject() = default;

const GMetaClass& GRTTIObject::getMetaClass() const {
    return metaclass_;
}

void* GRTTIObject::cast_to_(const std::type_info& type) const {
    return GCastTo<GRTTIObject>(this, type);
}

bool GRTTIObject::isKindOf(const GMetaClass* meta) const {
    const std::type_info* type = meta != nullptr ? meta->getTypeInfo() : nullptr;
    return type != nullptr && cast_to_(*type) != nullptr;
}

bool GRTTIObject::isKindOf(const char* name) const {
    return isKindOf(GMetaClass::FindByName(name));
}

bool GRTTIObject::hasTheSameClassAs(const GMetaClass* meta) const {
    return meta != nullptr && getMetaClass() == *meta;
}

bool GRTTIObject::hasTheSameClassAs(const GRTTIObject* other) const {
    return other != nullptr && hasTheSameClassAs(&other->getMetaClass());
}

bool GRTTIObject::hasTheSameClassAs(const char* name) const {
    return hasTheSameClassAs(GMetaClass::FindByName(name));
}

void GRTTIObject::destroyThis() {
    getMetaClass().destroyObject(this);
}
