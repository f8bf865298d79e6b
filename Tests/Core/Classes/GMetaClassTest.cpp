#include "Classes/GMetaClass.h"

#include "Classes/GClassDictionary.h"
#include "Classes/GModuleCtor.h"
#include "Collections/GSortedCollection.h"
#include "Errors/GLibraryExceptions.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class GTestSortedList : public GSortedCollection {
    G_CLASS(GTestSortedList)
};

class GTestLeft : public GObject {
    G_CLASS(GTestLeft)
    int left = 1;
};

class GTestRight : public GObject {
    G_CLASS(GTestRight)
    int right = 2;
};

class GTestPair : public GTestLeft, public GTestRight {
    G_CLASS(GTestPair)
};

GRTTIObject* otherBuilder() {
    return nullptr;
}

std::vector<std::string> names(const GClassDictionary& dict) {
    std::vector<std::string> result;
    for (int i = 0; i < dict.getCount(); ++i)
        result.emplace_back(dict.at(i)->getName());
    return result;
}

bool contains(const GClassDictionary& dict, const char* name) {
    return dict.index_of(name) >= 0;
}

int startCalls = 0;
const GModuleCtor countStart([] { ++startCalls; });

} // namespace

G_IMPLEMENT_CLASS(GTestSortedList, GSortedCollection)
G_IMPLEMENT_CLASS(GTestLeft, GObject)
G_IMPLEMENT_CLASS(GTestRight, GObject)
G_IMPLEMENT_CLASS(GTestPair, GTestLeft, GTestRight)

TEST(GMetaClass, RootClassesAreRegistered) {
    for (const char* name : {"GRTTIObject", "GObject", "GStreamable", "GCollection", "GSortedCollection"})
        EXPECT_NE(GMetaClass::FindByName(name), nullptr) << name;
    EXPECT_EQ(GMetaClass::FindByName(nullptr), nullptr);
    EXPECT_EQ(GMetaClass::FindByName("GNoSuchClass"), nullptr);
    EXPECT_EQ(GMetaClass::BuildByName("GNoSuchClass"), nullptr);
    EXPECT_EQ(GMetaClass::BuildByName("GObject"), nullptr); // abstract
    EXPECT_EQ(GMetaClass::FindByTypeInfo(typeid(GSortedCollection)), &GSortedCollection::metaclass_);
    EXPECT_EQ(GMetaClass::FindByTypeInfo(typeid(int)), nullptr);
}

TEST(GMetaClass, DictionaryIsInByteOrderOfNames) {
    const GMetaClass upper(typeid(int), "GZ", nullptr, nullptr, nullptr);
    const GMetaClass lower(typeid(long), "Ga", nullptr, nullptr, nullptr);
    const GMetaClass high(typeid(short), "G\xC3\xA9", nullptr, nullptr, nullptr);
    const GMetaClass prefix(typeid(char), "G", nullptr, nullptr, nullptr);
    const int count = GMetaClass::GetCount();
    for (int i = 1; i < count; ++i)
        EXPECT_LT(std::strcmp(GMetaClass::At(i - 1)->getName(), GMetaClass::At(i)->getName()), 0);
    // The byte after "G" in "G\xC3\xA9" is above every ASCII letter: it is the last name that starts with G.
    int last = -1;
    for (int i = 0; i < count; ++i)
        if (GMetaClass::At(i)->getName()[0] == 'G')
            last = i;
    EXPECT_EQ(GMetaClass::At(last), &high);
}

TEST(GMetaClass, BuildAndDestroyThroughTheRecord) {
    GRTTIObject* object = GMetaClass::BuildByName("GTestSortedList");
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->getClassName(), "GTestSortedList");
    EXPECT_TRUE(object->isKindOf(&GCollection::metaclass_));
    EXPECT_TRUE(object->isKindOf("GStreamable"));
    EXPECT_FALSE(object->isKindOf("GTestLeft"));
    EXPECT_FALSE(object->isKindOf(static_cast<const GMetaClass*>(nullptr)));
    EXPECT_TRUE(object->hasTheSameClassAs("GTestSortedList"));
    EXPECT_FALSE(object->hasTheSameClassAs(&GSortedCollection::metaclass_));
    EXPECT_FALSE(object->hasTheSameClassAs("GNoSuchClass"));
    object->destroyThis();
}

TEST(GMetaClass, KindsAndBases) {
    const GMetaClass& sorted = GSortedCollection::metaclass_;
    EXPECT_EQ(sorted.isKindOf(GObject::metaclass_), &GObject::metaclass_);
    EXPECT_EQ(sorted.isKindOf(sorted), &sorted);
    EXPECT_EQ(GCollection::metaclass_.isKindOf(sorted), nullptr);
    EXPECT_EQ(sorted.isKindOf(static_cast<const GMetaClass*>(nullptr)), nullptr);
    EXPECT_EQ(sorted.getBaseDerivedFrom(GCollection::metaclass_), &GCollection::metaclass_);
    EXPECT_EQ(sorted.getBaseDerivedFrom(GObject::metaclass_), nullptr); // not a direct base
    EXPECT_EQ(sorted.getAncestor(0), &GCollection::metaclass_);
    EXPECT_EQ(sorted.getAncestor(1), nullptr);
    EXPECT_EQ(sorted.getAncestor(-1), nullptr);
    EXPECT_EQ(GRTTIObject::metaclass_.getAncestorsCount(), 0);

    GClassDictionary bases;
    sorted.getBaseClasses(bases, false);
    EXPECT_EQ(names(bases), std::vector<std::string>{"GCollection"});
    sorted.getBaseClasses(bases, true);
    EXPECT_EQ(names(bases), (std::vector<std::string>{"GCollection", "GObject", "GRTTIObject", "GStreamable"}));
}

TEST(GMetaClass, DerivedClassesDirectAndRecursive) {
    GClassDictionary derived;
    GCollection::metaclass_.getDerivedClasses(derived, false);
    EXPECT_TRUE(contains(derived, "GSortedCollection"));
    EXPECT_FALSE(contains(derived, "GTestSortedList"));
    EXPECT_FALSE(contains(derived, "GCollection"));

    GCollection::metaclass_.getDerivedClasses(derived, true);
    EXPECT_TRUE(contains(derived, "GSortedCollection"));
    EXPECT_TRUE(contains(derived, "GTestSortedList"));
    EXPECT_FALSE(contains(derived, "GCollection"));
    EXPECT_FALSE(contains(derived, "GTestLeft"));

    // Old names are never listed.
    const GMetaClass oldName(GTestSortedList::metaclass_, "GTestOldList");
    GCollection::metaclass_.getDerivedClasses(derived, true);
    EXPECT_FALSE(contains(derived, "GTestOldList"));
}

TEST(GMetaClass, TwoBases) {
    const GMetaClass& pair = GTestPair::metaclass_;
    EXPECT_EQ(pair.getAncestorsCount(), 2);
    EXPECT_EQ(pair.getAncestor(1), &GTestRight::metaclass_);
    EXPECT_NE(pair.isKindOf(GTestRight::metaclass_), nullptr);
    EXPECT_NE(pair.isKindOf(GTestLeft::metaclass_), nullptr);

    GRTTIObject* object = pair.buildObject();
    ASSERT_NE(object, nullptr);
    auto* built = dynamic_cast<GTestPair*>(object);
    ASSERT_NE(built, nullptr);
    // cast_to_ gives the address of the base part, as a C++ cast would.
    EXPECT_EQ(object->cast_to_(typeid(GTestRight)), static_cast<GTestRight*>(built));
    EXPECT_EQ(object->cast_to_(typeid(GTestLeft)), static_cast<GTestLeft*>(built));
    EXPECT_EQ(object->cast_to_(typeid(GCollection)), nullptr);
    EXPECT_EQ(static_cast<GTestRight*>(object->cast_to_(typeid(GTestRight)))->right, 2);
    object->destroyThis();

    // The counted form of the constructor: n bases as further arguments.
    const GMetaClass counted(typeid(GTestPair), "GTestCountedPair", nullptr, nullptr, 2, &GTestLeft::metaclass_,
                             &GTestRight::metaclass_);
    EXPECT_EQ(counted.getAncestorsCount(), 2);
    EXPECT_EQ(counted.getAncestor(0), &GTestLeft::metaclass_);
    const GMetaClass nullBase(typeid(GTestPair), "GTestNullBase", nullptr, nullptr, 1,
                              static_cast<const GMetaClass*>(nullptr));
    EXPECT_EQ(nullBase.getAncestorsCount(), 0);
}

TEST(GMetaClass, OldNames) {
    const GMetaClass oldName(GTestLeft::metaclass_, "GTestOldLeft");
    const GMetaClass* found = GMetaClass::FindByName("GTestOldLeft");
    EXPECT_EQ(found, &oldName);
    EXPECT_TRUE(found->isOldClass());
    EXPECT_FALSE(GTestLeft::metaclass_.isOldClass());
    EXPECT_EQ(&found->getClassIdentifier(), &GTestLeft::metaclass_);
    EXPECT_TRUE(*found == GTestLeft::metaclass_);
    EXPECT_EQ(found->getTypeInfo(), &typeid(GTestLeft));
    EXPECT_EQ(found->getAncestorsCount(), 1);
    GRTTIObject* object = found->buildObject();
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->getClassName(), "GTestLeft");
    found->destroyObject(object);
}

TEST(GMetaClass, TakenNames) {
    // The same class again is accepted and stays unregistered; it must not take the real record with it.
    {
        const GMetaClass again(typeid(GCollection), "GCollection", &GCollection::ClassBuilder_,
                               &GCollection::ClassDestroyer_, &GStreamable::metaclass_);
        EXPECT_EQ(GMetaClass::FindByName("GCollection"), &GCollection::metaclass_);
    }
    EXPECT_EQ(GMetaClass::FindByName("GCollection"), &GCollection::metaclass_);

    const int before = GMetaClass::GetCount();
    auto error = catchException<DuplicatedTypes_Exception>(
        [] { const GMetaClass other(typeid(int), "GCollection", otherBuilder, nullptr, nullptr); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Class with name 'GCollection' already exists");
    EXPECT_EQ(GMetaClass::GetCount(), before);
    EXPECT_EQ(GMetaClass::FindByName("GCollection"), &GCollection::metaclass_);
}

TEST(GMetaClass, NullPointersCastSafely) {
    GTestLeft left;
    EXPECT_EQ(&check_ptr_for_typesafe_cast_(&left), &left);
    EXPECT_THROW(check_ptr_for_typesafe_cast_(static_cast<GTestLeft*>(nullptr)), std::bad_cast);
}

TEST(GModuleCtor, RunsOnceAtStartAndDtorAtEnd) {
    EXPECT_EQ(startCalls, 1);
    static int endCalls = 0;
    {
        const GModuleDtor end([] { ++endCalls; });
    }
    EXPECT_EQ(endCalls, 1);
}
