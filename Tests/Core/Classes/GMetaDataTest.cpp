#include "Classes/GMetaData.h"

#include "Collections/GSortedCollection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int freed = 0;
void countFree(void*) {
    ++freed;
}

} // namespace

TEST(GMetaData, InheritedValues) {
    const GMetaIndex index;
    GMetaData onBase(&index, &GCollection::metaclass_);
    EXPECT_TRUE(onBase.setLong(42));

    GMetaData onDerived(&index, &GSortedCollection::metaclass_);
    EXPECT_EQ(onDerived.getLong(-1), 42); // looks at the bases by default
    onDerived.lookInheritedAlso(false);
    EXPECT_EQ(onDerived.getLong(-1), -1);
    EXPECT_EQ(onDerived.getData(), nullptr);

    EXPECT_TRUE(onDerived.setDouble(2.5));
    EXPECT_DOUBLE_EQ(onDerived.getDouble(0), 2.5);
    EXPECT_EQ(onBase.getLong(-1), 42);
    onDerived.removeData();
    onDerived.lookInheritedAlso(true);
    EXPECT_EQ(onDerived.getLong(-1), 42);

    // Another index keeps its own values.
    const GMetaIndex other;
    EXPECT_EQ(GMetaData(&other, &GCollection::metaclass_).getLong(-1), -1);
}

TEST(GMetaData, LargeValuesAreCopied) {
    const GMetaIndex index;
    char buffer[32] = "a value longer than eight bytes";
    GMetaData data(&index, &GObject::metaclass_);
    EXPECT_TRUE(data.setData(buffer, sizeof buffer));
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_STREQ(static_cast<const char*>(data.getData()), "a value longer than eight bytes");

    data.setBool(true);
    EXPECT_TRUE(data.getBool(false));
    const float f = 1.25f;
    data.setData(&f, sizeof f);
    EXPECT_FLOAT_EQ(data.getFloat(0), 1.25f);
}

TEST(GMetaData, FreeFunctionsRunOnReplaceRemoveAndTheEnd) {
    freed = 0;
    {
        const GMetaIndex index;
        GMetaData data(&index, &GObject::metaclass_);
        int value = 1;
        data.setPtr(&value, countFree);
        EXPECT_EQ(*static_cast<int* const*>(data.getData()), &value);
        data.setLong(5); // replaces the pointer
        EXPECT_EQ(freed, 1);
        data.setPtr(&value, countFree);
        data.removeData();
        EXPECT_EQ(freed, 2);
        GMetaData::SetMetaData(&index, &GCollection::metaclass_, &value, sizeof value, countFree);
    } // the last index goes, and the store with it
    EXPECT_EQ(freed, 3);
}

TEST(GMetaData, MissingIndexOrClass) {
    const GMetaIndex index;
    GMetaData noClass(&index);
    EXPECT_FALSE(noClass.setLong(1));
    EXPECT_EQ(noClass.getLong(9), 9);
    GMetaData noIndex;
    noIndex.setMetaClass(&GObject::metaclass_);
    EXPECT_FALSE(noIndex.setBool(true));
    EXPECT_EQ(GMetaData::GetMetaData(nullptr, &GObject::metaclass_, true), nullptr);
}
