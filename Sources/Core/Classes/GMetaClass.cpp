#include "Classes/GMetaClass.h"

#include "Classes/GClassDictionary.h"
#include "Classes/GRTTIObject.h"
#include "Errors/GLibraryExceptions.h"

#include <atomic>
#include <cstdarg>
#include <vector>

namespace {

// The process-wide dictionary: made by the first registration, deleted with the last record. A plain pointer,
// so that it is null before any static constructor runs.
GClassDictionary* classes = nullptr;

std::atomic<GMetaClass::RegistrationFailureHandler> registrationFailureHandler{nullptr};

bool handedOver(const char* className) {
    const GMetaClass::RegistrationFailureHandler handler = registrationFailureHandler.load();
    return handler != nullptr && handler(className);
}

} // namespace

GMetaClass::GMetaClass(const std::type_info& type, const char* name, Builder builder, Destroyer destroyer,
                       const GMetaClass* base)
    : m_type(&type), m_name(name), m_builder(builder), m_destroyer(destroyer), m_base(base),
      m_ancestors(base != nullptr ? 1 : 0) {
    registerClass();
}

GMetaClass::GMetaClass(const std::type_info& type, const char* name, Builder builder, Destroyer destroyer, int n, ...)
    : m_type(&type), m_name(name), m_builder(builder), m_destroyer(destroyer), m_base(nullptr), m_ancestors(0) {
    std::vector<const GMetaClass*> bases;
    va_list args;
    va_start(args, n);
    for (int i = 0; i < n; ++i)
        bases.push_back(va_arg(args, const GMetaClass*));
    va_end(args);
    setBases(bases);
    registerClass();
}

GMetaClass::GMetaClass(const std::type_info& type, const char* name, Builder builder, Destroyer destroyer,
                       std::span<const GMetaClass* const> bases)
    : m_type(&type), m_name(name), m_builder(builder), m_destroyer(destroyer), m_base(nullptr), m_ancestors(0) {
    setBases(bases);
    registerClass();
}

GMetaClass::GMetaClass(const GMetaClass& real, const char* oldName) : GMetaClass(real, oldName, nullptr, nullptr) {}

GMetaClass::GMetaClass(const GMetaClass& real, const char* oldName, Builder builder, Destroyer destroyer)
    : m_type(nullptr), m_name(oldName), m_builder(builder), m_destroyer(destroyer), m_base(&real), m_ancestors(-1) {
    registerClass();
}

// A single base is kept in place; two or more in an owned array. One null base means none.
void GMetaClass::setBases(std::span<const GMetaClass* const> bases) {
    if (bases.size() == 1) {
        m_base = bases[0];
        m_ancestors = m_base != nullptr ? 1 : 0;
    } else if (bases.size() > 1) {
        m_bases = std::make_unique<const GMetaClass*[]>(bases.size());
        std::copy(bases.begin(), bases.end(), m_bases.get());
        m_ancestors = static_cast<int>(bases.size());
    }
}

// A taken name with another builder is a different class: the failure is raised at once unless the installed
// handler takes it over. A record that stays
// unregistered never removes the registered one when it is destroyed.
void GMetaClass::registerClass() {
    if (classes == nullptr)
        classes = new GClassDictionary;
    int index = 0;
    if (classes->search(m_name, index)) {
        if (classes->at(index)->m_builder != m_builder && !handedOver(m_name))
            throw new DuplicatedTypes_Exception(m_name);
        return;
    }
    classes->at_insert(index, this);
}

GMetaClass::~GMetaClass() {
    if (classes == nullptr)
        return;
    const int index = classes->index_of(m_name);
    if (index >= 0 && classes->at(index) == this)
        classes->at_remove(index);
    if (classes->getCount() == 0) {
        delete classes;
        classes = nullptr;
    }
}

const GMetaClass& GMetaClass::getClassIdentifier() const {
    const GMetaClass* meta = this;
    while (meta->isOldClass())
        meta = meta->m_base;
    return *meta;
}

const GMetaClass* GMetaClass::getAncestor(int i) const {
    const GMetaClass& real = getClassIdentifier();
    if (i < 0 || i >= real.m_ancestors)
        return nullptr;
    return real.m_ancestors == 1 ? real.m_base : real.m_bases[static_cast<std::size_t>(i)];
}

GRTTIObject* GMetaClass::buildObject() const {
    const Builder builder = getBuilder();
    return builder != nullptr ? builder() : nullptr;
}

void GMetaClass::destroyObject(GRTTIObject* object) const {
    if (object == nullptr)
        return;
    if (const Destroyer destroyer = getDestroyer())
        destroyer(object);
    else
        delete object;
}

// Bases are searched from the last to the first, depth first.
const GMetaClass* GMetaClass::isKindOf(const GMetaClass& other) const {
    const GMetaClass& target = other.getClassIdentifier();
    if (&getClassIdentifier() == &target)
        return &target;
    for (int i = getAncestorsCount() - 1; i >= 0; --i) {
        const GMetaClass* base = getAncestor(i);
        if (base != nullptr && base->isKindOf(target) != nullptr)
            return &target;
    }
    return nullptr;
}

const GMetaClass* GMetaClass::isKindOf(const GMetaClass* other) const {
    return other != nullptr ? isKindOf(*other) : nullptr;
}

const GMetaClass* GMetaClass::getBaseDerivedFrom(const GMetaClass& base) const {
    for (int i = 0; i < getAncestorsCount(); ++i)
        if (getAncestor(i) != nullptr && *getAncestor(i) == base)
            return &base.getClassIdentifier();
    return nullptr;
}

void GMetaClass::getBaseClasses(GClassDictionary& dict, bool recursive) const {
    dict.empty();
    std::vector<const GMetaClass*> pending{this};
    while (!pending.empty()) {
        const GMetaClass* meta = pending.back();
        pending.pop_back();
        for (int i = 0; i < meta->getAncestorsCount(); ++i) {
            const GMetaClass* base = meta->getAncestor(i);
            if (base == nullptr || dict.index_of(base) >= 0)
                continue;
            dict.insert(base);
            if (recursive)
                pending.push_back(base);
        }
    }
}

void GMetaClass::getDerivedClasses(GClassDictionary& dict, bool recursive) const {
    GetApplicationClasses(dict);
    for (int i = dict.getCount() - 1; i >= 0; --i) {
        const GMetaClass* meta = dict.at(i);
        const bool derived = recursive ? !(*meta == *this) && meta->isKindOf(*this) != nullptr
                                       : meta->getBaseDerivedFrom(*this) != nullptr;
        if (meta->isOldClass() || !derived)
            dict.at_remove(i);
    }
}

int GMetaClass::GetCount() {
    return classes != nullptr ? classes->getCount() : 0;
}

const GMetaClass* GMetaClass::At(int i) {
    return classes->at(i);
}

const GMetaClass* GMetaClass::FindByName(const char* name) {
    const int index = classes != nullptr ? classes->index_of(name) : -1;
    return index >= 0 ? classes->at(index) : nullptr;
}

const GMetaClass* GMetaClass::FindByTypeInfo(const std::type_info& type) {
    for (int i = GetCount() - 1; i >= 0; --i) {
        const std::type_info* own = classes->at(i)->getTypeInfo();
        if (own != nullptr && *own == type)
            return classes->at(i);
    }
    return nullptr;
}

GRTTIObject* GMetaClass::BuildByName(const char* name) {
    const GMetaClass* meta = FindByName(name);
    return meta != nullptr ? meta->buildObject() : nullptr;
}

void GMetaClass::SetRegistrationFailureHandler(RegistrationFailureHandler handler) {
    registrationFailureHandler.store(handler);
}

void GMetaClass::GetApplicationClasses(GClassDictionary& dict) {
    dict.empty();
    if (classes != nullptr)
        dict.copy_items_from(*classes);
}
