#include "win/ModuleStringTable.h"

#include "win/Modules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// Listed out of order on purpose: the table is sorted when it is registered.
constexpr StringResource TestStrings[] = {
    {20, "twenty"}, {7, "seven"}, {9, ""}, {30, "caf\xC3\xA9"}, // "café": the last character takes two bytes
};

const ModuleStringTable TestTable(TestStrings);

constexpr StringResource LateStrings[] = {{500, "late"}};

// Static storage, so that the table belongs to this program's module, but registered only inside the test.
std::optional<ModuleStringTable> lateTable;

std::string load(UINT id, int size = 64, HMODULE module = TestTable.module()) {
    std::string buffer(static_cast<std::size_t>(size > 0 ? size : 1), '#');
    const int count = LoadStringA(module, id, buffer.data(), size);
    EXPECT_EQ(size > 0 && count >= 0 ? std::string(buffer.c_str()).size() : 0u, static_cast<std::size_t>(count));
    return buffer.substr(0, static_cast<std::size_t>(count));
}

} // namespace

TEST(ModuleStringTable, BelongsToTheModuleThatHoldsIt) {
    EXPECT_NE(TestTable.module(), nullptr);
    EXPECT_EQ(TestTable.module(), ModuleFromAddress(reinterpret_cast<const void*>(&load)));
    EXPECT_NE(TestTable.module(), ModuleFromAddress(reinterpret_cast<const void*>(&LoadStringA)));
    EXPECT_EQ(ModuleFromAddress(nullptr), nullptr);
}

TEST(ModuleStringTable, LoadsByIdLikeWin32) {
    EXPECT_EQ(load(7), "seven");
    EXPECT_EQ(load(20), "twenty");
    EXPECT_EQ(load(8), ""); // absent
    EXPECT_EQ(load(9), ""); // an empty text counts as absent
    EXPECT_EQ(load(7, 64, ModuleFromAddress(reinterpret_cast<const void*>(&LoadStringA))), "");
}

TEST(ModuleStringTable, CutsToTheBufferWithATerminator) {
    EXPECT_EQ(load(20, 4), "twe");
    EXPECT_EQ(load(20, 7), "twenty");
    EXPECT_EQ(load(20, 1), "");
    char untouched = '#';
    EXPECT_EQ(LoadStringA(TestTable.module(), 20, &untouched, 0), 0);
    EXPECT_EQ(untouched, '#');
    EXPECT_EQ(LoadStringA(TestTable.module(), 20, nullptr, 10), 0);
}

TEST(ModuleStringTable, NeverCutsInsideACharacter) {
    EXPECT_EQ(load(30, 6), "caf\xC3\xA9");
    EXPECT_EQ(load(30, 5), "caf");
}

TEST(ModuleStringTable, UnregistersWhenDestroyed) {
    lateTable.emplace(LateStrings);
    EXPECT_EQ(load(500), "late");
    EXPECT_EQ(load(7), "seven");
    lateTable.reset();
    EXPECT_EQ(load(500), "");
    EXPECT_EQ(load(7), "seven");
}

TEST(ModuleStringTable, LoaderShapeReportsCopiedBytes) {
    char buffer[16];
    void* module = TestTable.module();
    EXPECT_EQ(LoadModuleString(7, buffer, sizeof buffer, module), 5u);
    EXPECT_STREQ(buffer, "seven");
    EXPECT_EQ(LoadModuleString(8, buffer, sizeof buffer, module), 0u);
}
