#include "Classes/GModuleLoader.h"

#include "Classes/GClassDictionary.h"
#include "Collections/GCollection.h"
#include "Errors/GLibraryExceptions.h"
#include "IO/GIOException.h"
#include "Support/ExceptionTesting.h"
#include "win/Modules.h"

#include <gtest/gtest.h>

#include <string>

TEST(GModuleLoader, LoadingRegistersAndUnloadingRemovesClasses) {
    const int before = GMetaClass::GetCount();
    ASSERT_EQ(GMetaClass::FindByName("GTestSquare"), nullptr);

    HMODULE module = GModuleLoader::Load(SHAPES_MODULE);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GMetaClass::GetCount(), before + 4);
    const GMetaClass* square = GMetaClass::FindByName("GTestSquare");
    ASSERT_NE(square, nullptr);
    EXPECT_NE(square->isKindOf(GObject::metaclass_), nullptr);

    // Built by name across the module boundary, used through its base, destroyed through its record.
    GRTTIObject* built = GMetaClass::BuildByName("GTestCube");
    ASSERT_NE(built, nullptr);
    EXPECT_STREQ(built->getClassName(), "GTestCube");
    EXPECT_TRUE(built->isKindOf("GTestSquare"));
    auto area = reinterpret_cast<int (*)(GRTTIObject*)>(GetProcAddress(module, "ShapeArea"));
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area(built), 24);
    EXPECT_EQ(GetProcAddress(module, "NoSuchFunction"), nullptr);
    built->destroyThis();

    // The old name builds the real class.
    const GMetaClass* old = GMetaClass::FindByName("GTestQuadrangle");
    ASSERT_NE(old, nullptr);
    GRTTIObject* fromOldName = old->buildObject();
    ASSERT_NE(fromOldName, nullptr);
    EXPECT_STREQ(fromOldName->getClassName(), "GTestSquare");
    old->destroyObject(fromOldName);

    GClassDictionary shapes;
    GMetaClass::FindByName("GTestShape")->getDerivedClasses(shapes, true);
    EXPECT_EQ(shapes.getCount(), 2);

    GModuleLoader::Free(module);
    EXPECT_EQ(GMetaClass::FindByName("GTestSquare"), nullptr);
    EXPECT_EQ(GMetaClass::FindByName("GTestQuadrangle"), nullptr);
    EXPECT_EQ(GMetaClass::GetCount(), before);
}

TEST(GModuleLoader, LoadingTwiceNeedsTwoFrees) {
    HMODULE first = GModuleLoader::Load(SHAPES_MODULE);
    HMODULE second = GModuleLoader::Load(SHAPES_MODULE);
    EXPECT_EQ(first, second);
    GModuleLoader::Free(second);
    EXPECT_NE(GMetaClass::FindByName("GTestCube"), nullptr);
    GModuleLoader::Free(first);
    EXPECT_EQ(GMetaClass::FindByName("GTestCube"), nullptr);
}

TEST(GModuleLoader, ATakenClassNameFailsTheLoadAndLeavesTheProcessWorking) {
    const GMetaClass* collection = GMetaClass::FindByName("GCollection");
    const int before = GMetaClass::GetCount();

    auto error = catchException<DuplicatedTypes_Exception>([] { GModuleLoader::Load(DUPLICATE_MODULE); });
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(std::string(error->getMessage()), "Class with name 'GCollection' already exists");

    // The module is gone with the class it had registered, and the core's class is untouched.
    EXPECT_EQ(GMetaClass::FindByName("GDuplicateHelper"), nullptr);
    EXPECT_EQ(GMetaClass::FindByName("GCollection"), collection);
    EXPECT_EQ(GMetaClass::GetCount(), before);
    GRTTIObject* built = GMetaClass::BuildByName("GCollection");
    ASSERT_NE(built, nullptr);
    EXPECT_NE(dynamic_cast<GCollection*>(built), nullptr);
    built->destroyThis();
}

TEST(GModuleLoader, AMissingModuleIsAnIOError) {
    auto error = catchException<GFileIOException>([] { GModuleLoader::Load("/nonexistent/none.korplug"); });
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error->getMessage()).find("/nonexistent/none.korplug"), std::string::npos);
}
