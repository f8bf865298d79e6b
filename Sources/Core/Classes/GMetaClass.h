#pragma once
// GMetaClass: the run-time record of a class (name, type, builder, destroyer, bases). Every record registers
// itself in the process-wide class dictionary when its module is initialised and leaves it when the module is
// unloaded, so classes are found and built by name, by type or by base class.

#include <memory>
#include <span>
#include <typeinfo>

class GRTTIObject;
class GClassDictionary;

class GMetaClass {
public:
    using Builder = GRTTIObject* (*)();
    using Destroyer = void (*)(GRTTIObject*);

    // One base, or none when `base` is null.
    GMetaClass(const std::type_info& type, const char* name, Builder builder, Destroyer destroyer,
               const GMetaClass* base);
    // `n` bases given as further `const GMetaClass*` arguments.
    GMetaClass(const std::type_info& type, const char* name, Builder builder, Destroyer destroyer, int n, ...);
    // The bases as a list (used by the class boilerplate).
    GMetaClass(const std::type_info& type, const char* name, Builder builder, Destroyer destroyer,
               std::span<const GMetaClass* const> bases);
    // An old name of `real`, so that data written under that name is still read.
    GMetaClass(const GMetaClass& real, const char* oldName);
    GMetaClass(const GMetaClass& real, const char* oldName, Builder builder, Destroyer destroyer);
    ~GMetaClass();
    GMetaClass(const GMetaClass&) = delete;
    GMetaClass& operator=(const GMetaClass&) = delete;

    const char* getName() const { return m_name; }
    // The real class: an alias leads to the record it names.
    const GMetaClass& getClassIdentifier() const;
    bool isOldClass() const { return m_ancestors < 0; }
    const std::type_info* getTypeInfo() const { return getClassIdentifier().m_type; }
    Builder getBuilder() const { return getClassIdentifier().m_builder; }
    Destroyer getDestroyer() const { return getClassIdentifier().m_destroyer; }
    int getAncestorsCount() const { return getClassIdentifier().m_ancestors; }
    // Direct base i of the real class; null outside 0 to count - 1.
    const GMetaClass* getAncestor(int i) const;

    // A new object by the real class's builder; null for an abstract class.
    GRTTIObject* buildObject() const;
    // Destroys an object through the destroyer, or its virtual destructor when there is none.
    void destroyObject(GRTTIObject* object) const;

    bool operator==(const GMetaClass& other) const { return &getClassIdentifier() == &other.getClassIdentifier(); }

    // `other`'s real class when this class is it or derives from it at any depth, else null.
    const GMetaClass* isKindOf(const GMetaClass& other) const;
    const GMetaClass* isKindOf(const GMetaClass* other) const;
    // `base`'s real class when it is a direct base of this class, else null.
    const GMetaClass* getBaseDerivedFrom(const GMetaClass& base) const;
    void getBaseClasses(GClassDictionary& dict, bool recursive) const;
    // Every registered class (aliases excluded) with this class as a direct base, or at any depth.
    void getDerivedClasses(GClassDictionary& dict, bool recursive) const;

    static int GetCount();
    static const GMetaClass* At(int i);
    static const GMetaClass* FindByName(const char* name);
    static const GMetaClass* FindByTypeInfo(const std::type_info& type);
    static GRTTIObject* BuildByName(const char* name);
    static void GetApplicationClasses(GClassDictionary& dict);

    // Called on a registration that finds its name taken by another class; true when the handler takes the
    // failure over (the module loader keeps it for the load in progress, since an exception must not cross
    // dlopen), false when registration should raise it at once. The module loader installs one.
    using RegistrationFailureHandler = bool (*)(const char* className);
    static void SetRegistrationFailureHandler(RegistrationFailureHandler handler);

private:
    void setBases(std::span<const GMetaClass* const> bases);
    void registerClass();

    const std::type_info* m_type; // null for an alias
    const char* m_name;
    Builder m_builder;
    Destroyer m_destroyer;
    const GMetaClass* m_base;                     // the one base, or the real class of an alias
    std::unique_ptr<const GMetaClass*[]> m_bases; // two or more bases
    int m_ancestors;                              // -1 for an alias
};
