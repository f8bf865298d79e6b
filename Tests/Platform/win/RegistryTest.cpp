#include "win/Registry.h"
#include "win/RegistryStore.h"

#include "Support/FileContents.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Each test works on a store of its own.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override { use(folder.path() / "store.reg"); }
    void TearDown() override {
        setenv("KORVANE_REGISTRY_DEFAULTS", savedDefaults.c_str(), 1);
        RegistryStore::Instance().reset();
    }
    void use(const std::filesystem::path& path) {
        store = path;
        setenv("KORVANE_REGISTRY", path.c_str(), 1);
        RegistryStore::Instance().reset();
    }
    static void write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    TempDirectory folder;
    std::filesystem::path store;
    std::string savedDefaults = std::getenv("KORVANE_REGISTRY_DEFAULTS");
};

HKEY createKey(const char* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

DWORD dwordOf(HKEY key, const char* name) {
    DWORD value = 0, type = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    return value;
}

void setDword(HKEY key, const char* name, DWORD value) {
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
}

} // namespace

TEST(RegistryText, RoundTripsEveryKindOfValue) {
    RegistryKeys keys;
    RegistryKey& key = keys[FoldedRegistryName("HKEY_CURRENT_USER\\Software\\Test")];
    key.path = "HKEY_CURRENT_USER\\Software\\Test";
    key.values = {{"", 1, {'d', 'e', 'f', 0}},     {"Path \"quoted\"", 1, {'C', ':', '\\', 'x', 0}},
                  {"Count", 4, {42, 0, 0, 0}},     {"Blob", 3, std::vector<BYTE>(60, 0xAB)},
                  {"Odd", 7, {'a', 0, 'b', 0, 0}}, {"Empty", 3, {}}};
    const std::string text = FormatRegistry(keys);
    EXPECT_NE(text.find("\"Count\"=dword:0000002a\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"def\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Path \\\"quoted\\\"\"=\"C:\\\\x\"\n"), std::string::npos);
    EXPECT_NE(text.find(",\\\n  ab"), std::string::npos); // long hex runs go on over lines
    EXPECT_NE(text.find("\"Odd\"=hex(7):61,00,62,00,00"), std::string::npos);
    std::string error;
    const auto back = ParseRegistry(text, error);
    ASSERT_TRUE(back.has_value()) << error;
    const RegistryKey& read = back->begin()->second;
    ASSERT_EQ(read.values.size(), key.values.size());
    for (std::size_t i = 0; i < key.values.size(); ++i) {
        EXPECT_EQ(read.values[i].name, key.values[i].name);
        EXPECT_EQ(read.values[i].type, key.values[i].type);
        EXPECT_EQ(read.values[i].data, key.values[i].data) << key.values[i].name;
    }
}

TEST(RegistryText, ReadsWhatAPersonWrites) {
    const std::string text = "REGEDIT4\r\n\r\n; my settings\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n"
                             "  \"Size\"=dword:00000010\r\n\"Bytes\"=hex:01,02,\\\r\n    03\r\n\r\n"
                             "[hkey_current_user\\software\\a]\r\n\"size\"=dword:00000011\r\n";
    std::string error;
    const auto keys = ParseRegistry(text, error);
    ASSERT_TRUE(keys.has_value()) << error;
    ASSERT_EQ(keys->size(), 1u); // the same key in another case
    const RegistryKey& key = keys->begin()->second;
    EXPECT_EQ(key.find("SIZE")->data[0], 0x11);
    EXPECT_EQ(key.find("Bytes")->data, (std::vector<BYTE>{1, 2, 3}));

    for (const char* bad :
         {"", "[HKEY_CURRENT_USER]\n", "REGEDIT4\n\"a\"=dword:1\n", "REGEDIT4\n[K]\n\"a\"=dword:123456789\n",
          "REGEDIT4\n[K]\n\"a\"=hex:1,2\n", "REGEDIT4\n[K]\n\"a=\"b\"\n", "REGEDIT4\n[K]\na=1\n"})
        EXPECT_FALSE(ParseRegistry(bad, error).has_value()) << bad;
    ParseRegistry("REGEDIT4\n[K]\n\"a\"=dword:zz\n", error);
    EXPECT_EQ(error, "line 3: the value's data is not in the format");
}

TEST_F(RegistryTest, KeysAndValuesThroughTheWin32Calls) {
    HKEY key = createKey("Software\\Orvelcraft\\Korvane\\Test");
    ASSERT_NE(key, nullptr);
    setDword(key, "Seven", 7);
    const char text[] = "hello";
    EXPECT_EQ(RegSetValueExA(key, "Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text), ERROR_SUCCESS);
    EXPECT_EQ(dwordOf(key, "seven"), 7u); // names without case

    DWORD size = 2;
    char small[2];
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    // Written through: another reading of the file finds it.
    RegistryStore::Instance().reset();
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\orvelcraft\\korvane\\test", 0, KEY_READ, &again),
              ERROR_SUCCESS);
    EXPECT_EQ(dwordOf(again, "Seven"), 7u);
    EXPECT_NE(readFile(store).find("\"Text\"=\"hello\""), std::string::npos);

    DWORD subKeys = 0, values = 0;
    EXPECT_EQ(RegQueryInfoKeyA(again, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 2u);
    char name[32];
    DWORD nameSize = sizeof name;
    DWORD type = 0;
    EXPECT_EQ(RegEnumValueA(again, 1, name, &nameSize, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name), "Text");
    EXPECT_EQ(type, REG_SZ);
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumValueA(again, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvelcraft", 0, KEY_READ, &parent), ERROR_SUCCESS);
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(parent, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name), "Korvane");
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(parent, 1, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegDeleteKeyA(parent, "Korvane"), ERROR_ACCESS_DENIED); // it has a sub-key

    EXPECT_EQ(RegDeleteValueA(again, "Seven"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(again, "Seven"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(parent, "Korvane\\Test"), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvelcraft\\Korvane\\Test", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(again);
    RegCloseKey(parent);
    EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, AHandEditedStoreReadsBackAndAnUnreadableOneIsSetAside) {
    HKEY key = createKey("Software\\Orvelcraft\\Korvane");
    setDword(key, "Level", 3);
    RegCloseKey(key);
    std::string text = readFile(store);
    text.replace(text.find("dword:00000003"), 14, "dword:00000009");
    text.insert(text.find('\n') + 1, "; a comment of mine\r\n");
    write(store, text + "\"Added\"=\"yes\"\n");
    key = createKey("Software\\Orvelcraft\\Korvane");
    EXPECT_EQ(dwordOf(key, "Level"), 9u);
    char yes[4];
    DWORD size = sizeof yes;
    EXPECT_EQ(RegQueryValueExA(key, "Added", nullptr, nullptr, reinterpret_cast<BYTE*>(yes), &size), ERROR_SUCCESS);
    RegCloseKey(key);

    write(folder.path() / "defaults.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orvelcraft\\Korvane]\n"
                                          "\"Level\"=dword:00000001\n");
    setenv("KORVANE_REGISTRY_DEFAULTS", (folder.path() / "defaults.reg").c_str(), 1);
    write(store, "this is not a settings store");
    static std::string reported;
    RegistryStore::SetReporter([](const char* message) { reported = message; });
    RegistryStore::Instance().reset();
    key = createKey("Software\\Orvelcraft\\Korvane");
    RegistryStore::SetReporter(nullptr);
    EXPECT_EQ(dwordOf(key, "Level"), 1u); // the defaults
    RegCloseKey(key);
    EXPECT_EQ(readFile(std::filesystem::path(store.string() + ".bad")), "this is not a settings store");
    EXPECT_NE(reported.find("could not be read"), std::string::npos);
}

// Two processes that write at the same time both keep their change; a process killed while writing leaves a
// store that reads, old or new.
TEST_F(RegistryTest, ProcessesShareTheStoreSafely) {
    HKEY key = createKey("Software\\Orvelcraft\\Korvane");
    RegCloseKey(key);
    const auto writer = [](const char* name, int rounds) {
        for (int i = 0; i < rounds; ++i) {
            HKEY mine = nullptr;
            RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvelcraft\\Korvane", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &mine, nullptr);
            const DWORD value = static_cast<DWORD>(i + 1);
            RegSetValueExA(mine, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
            RegCloseKey(mine);
        }
    };
    std::fflush(nullptr);
    const pid_t first = fork();
    if (first == 0) {
        writer("First", 50);
        _exit(0);
    }
    writer("Second", 50);
    int status = 0;
    waitpid(first, &status, 0);
    RegistryStore::Instance().reset();
    key = createKey("Software\\Orvelcraft\\Korvane");
    EXPECT_EQ(dwordOf(key, "First"), 50u);
    EXPECT_EQ(dwordOf(key, "Second"), 50u);
    RegCloseKey(key);

    for (int delay : {1000, 3000, 7000}) {
        const pid_t victim = fork();
        if (victim == 0) {
            writer("Busy", 1 << 20);
            _exit(0);
        }
        usleep(static_cast<useconds_t>(delay));
        kill(victim, SIGKILL);
        waitpid(victim, &status, 0);
        std::string error;
        EXPECT_TRUE(ParseRegistry(readFile(store), error).has_value()) << delay << ": " << error;
    }
}
