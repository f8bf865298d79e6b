#include "win/Registry.h"
#include "win/RegistryStore.h"

#include "Support/FileContents.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

    EXPECT_FALSE(ParseRegistry("", error).has_value());
    EXPECT_FALSE(ParseRegistry("[HKEY_CURRENT_USER]\n", error).has_value());
    EXPECT_EQ(error, "the first line is not REGEDIT4");
}

namespace {

RegistryKeys oneKey(std::vector<RegistryValue> values) {
    RegistryKeys keys;
    RegistryKey& key = keys[FoldedRegistryName("HKEY_CURRENT_USER\\Software\\Test")];
    key.path = "HKEY_CURRENT_USER\\Software\\Test";
    key.values = std::move(values);
    return keys;
}

// The values of the one key that `keys` hold after writing them and reading them back.
std::vector<RegistryValue> readBack(const RegistryKeys& keys) {
    std::string error;
    const auto back = ParseRegistry(FormatRegistry(keys), error);
    EXPECT_TRUE(back.has_value() && error.empty()) << error;
    return back && back->size() == 1 ? back->begin()->second.values : std::vector<RegistryValue>{};
}

bool sameValues(const std::vector<RegistryValue>& a, const std::vector<RegistryValue>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const RegistryValue& x, const RegistryValue& y) {
        return x.name == y.name && x.type == y.type && x.data == y.data;
    });
}

std::vector<BYTE> text(const std::string& bytes) {
    std::vector<BYTE> data(bytes.begin(), bytes.end());
    data.push_back(0);
    return data;
}

} // namespace

// Every byte a string may hold, strings of any length, blocks of every small length and types of any number read
// back exactly as written.
TEST(RegistryText, EveryValueReadsBackAsWritten) {
    std::vector<RegistryValue> values;
    for (int byte = 1; byte < 256; ++byte)
        values.push_back({"s" + std::to_string(byte), REG_SZ, text(std::string(3, static_cast<char>(byte)))});
    std::string all, random;
    for (int byte = 1; byte < 256; ++byte)
        all += static_cast<char>(byte);
    std::uint32_t seed = 1;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245 + 12345;
        random += static_cast<char>(1 + (seed >> 16) % 255);
    }
    values.push_back({"all", REG_SZ, text(all)});
    values.push_back({"random", REG_SZ, text(random)});
    values.push_back({"long plain", REG_SZ, text(std::string(100000, 'x'))});
    values.push_back({"no zero", REG_SZ, {'a', 'b'}});
    values.push_back({"inner zero", REG_SZ, {'a', 0, 'b', 0}});
    values.push_back({"nothing", REG_SZ, {}});
    for (std::size_t length = 0; length <= 64; ++length) {
        std::vector<BYTE> block(length);
        for (std::size_t i = 0; i < length; ++i)
            block[i] = static_cast<BYTE>(i * 37 + length);
        values.push_back({"b" + std::to_string(length), REG_BINARY, block});
    }
    for (DWORD type : {0u, 2u, 7u, 10u, 11u, 0x10u, 0xFFFFFFFFu})
        values.push_back({"t" + std::to_string(type), type, {1, 2, 3}});
    values.push_back({"short dword", REG_DWORD, {1, 2}});
    const RegistryKeys keys = oneKey(values);
    EXPECT_TRUE(sameValues(readBack(keys), values));

    // Text that is not printable UTF-8 is written as the classic export writes it; other text stays readable.
    const std::string written = FormatRegistry(oneKey({{"v", REG_SZ, text("a\nb")},
                                                       {"latin", REG_SZ, text("caf\xE9")},
                                                       {"utf8", REG_SZ, text("caf\xC3\xA9\tbar \"q\"")},
                                                       {"q", 11, {1}}}));
    EXPECT_NE(written.find("\"v\"=hex(1):61,0a,62,00\n"), std::string::npos);
    EXPECT_NE(written.find("\"latin\"=hex(1):63,61,66,e9,00\n"), std::string::npos);
    EXPECT_NE(written.find("\"utf8\"=\"caf\xC3\xA9\tbar \\\"q\\\"\"\n"), std::string::npos);
    EXPECT_NE(written.find("\"q\"=hex(b):01\n"), std::string::npos);
}

// Files of older versions (raw bytes between quotes) and of other tools (hex(1) folded over lines, a UTF-8
// byte-order mark) read as they always did.
TEST(RegistryText, ReadsOlderFilesAndOtherToolsExports) {
    const std::string text = "\xEF\xBB\xBFREGEDIT4\n[K]\n\"raw\"=\"caf\xE9\t\x01\\\\\"\n"
                             "\"folded\"=hex(1):61,\\\n  0a,\\\n  62,00\n";
    std::string error;
    const auto keys = ParseRegistry(text, error);
    ASSERT_TRUE(keys.has_value());
    EXPECT_EQ(error, "");
    const RegistryKey& key = keys->begin()->second;
    EXPECT_EQ(key.find("raw")->data, (std::vector<BYTE>{'c', 'a', 'f', 0xE9, '\t', 1, '\\', 0}));
    EXPECT_EQ(key.find("folded")->type, REG_SZ);
    EXPECT_EQ(key.find("folded")->data, (std::vector<BYTE>{'a', '\n', 'b', 0}));
}

// A line that does not read costs that line alone: the rest is read, and the line is written again as it stood.
TEST(RegistryText, KeepsTheLinesItCannotRead) {
    for (const char* bad :
         {"\"a\"=dword:1\n[K]\n\"good\"=dword:00000001\n", "[K]\n\"a\"=dword:123456789\n\"good\"=dword:00000001\n",
          "[K]\n\"a\"=hex:1,2\n\"good\"=dword:00000001\n", "[K]\n\"a=\"b\"\n\"good\"=dword:00000001\n",
          "[K]\na=1\n\"good\"=dword:00000001\n", "[K]\n\"good\"=dword:00000001\n[-K\\Gone]\n\"lost\"=dword:00000002\n",
          "[K]\n\"good\"=dword:00000001\n\"v\"=\"a\n b\"\n\"cut\"=hex:01,\\"}) {
        const std::string text = std::string("REGEDIT4\n") + bad;
        std::string error;
        const auto keys = ParseRegistry(text, error);
        ASSERT_TRUE(keys.has_value()) << bad;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << bad;
        const auto key = keys->find("k");
        ASSERT_NE(key, keys->end()) << bad;
        EXPECT_EQ(key->second.find("good")->data[0], 1) << bad;
        EXPECT_EQ(key->second.find("lost"), nullptr) << bad; // a value under a key name that did not read
        const std::string rewritten = FormatRegistry(*keys);
        std::string again;
        const auto reread = ParseRegistry(rewritten, again);
        ASSERT_TRUE(reread.has_value()) << bad;
        EXPECT_EQ(FormatRegistry(*reread), rewritten) << bad;
        EXPECT_EQ(again.substr(again.find(':')), error.substr(error.find(':'))) << bad;
    }
    std::string error;
    ParseRegistry("REGEDIT4\n[K]\n\"a\"=dword:zz\n\"b\"=dword:zz\n", error);
    EXPECT_EQ(error, "line 3: the value's data is not in the format (and 1 more)");

    // The store an earlier version wrote with a raw line break in a string.
    const std::string rewritten =
        readFile(std::filesystem::path(REGISTRY_REGRESSIONS) / "after-rewrite-unreadable.reg");
    const auto keys = ParseRegistry(rewritten, error);
    ASSERT_TRUE(keys.has_value());
    EXPECT_EQ(error, "line 4: the value's data is not in the format (and 1 more)");
    EXPECT_GT(keys->size(), 10u);
    const std::string formatted = FormatRegistry(*keys);
    EXPECT_NE(formatted.find("\n\"v\"=\"a\nb\"\n"), std::string::npos);
}

// Line ends written by tools that turned "\n" into "\r\n" twice, and stores cut after a continuation, read the same
// after a rewrite as before it.
TEST(RegistryText, StrayCarriageReturnsAndContinuationsReadBackAsWritten) {
    for (const std::string tail : {"\"v\"=\"b\"\r\r\n", "\"v\"=\"b\"\r\r", "x\\\r\r\n", "x\r\\", "x\\\\",
                                   "\"v\"=hex:01,\\\r\r\n  02\r\r\n", "\r\\", "\\\n\\\\\\", "\"v\"=dword:1\r\\"}) {
        for (const std::string& text : {"REGEDIT4\n[K]\n\"good\"=dword:00000001\n" + tail, "REGEDIT4\n" + tail}) {
            std::string error;
            const auto keys = ParseRegistry(text, error);
            ASSERT_TRUE(keys.has_value()) << text;
            const std::string rewritten = FormatRegistry(*keys);
            const auto reread = ParseRegistry(rewritten, error);
            ASSERT_TRUE(reread.has_value()) << text;
            EXPECT_EQ(FormatRegistry(*reread), rewritten) << text;
        }
    }
    std::string error;
    const auto keys = ParseRegistry("REGEDIT4\r\r\n[K]\r\r\n\"v\"=\"b\"\r\r\n", error);
    ASSERT_TRUE(keys.has_value());
    EXPECT_EQ(keys->at("k").find("v")->data, (std::vector<BYTE>{'b', 0}));
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

namespace {

// The report of the store, caught.
std::string& lastReport() {
    static std::string message;
    return message;
}

void catchReports() {
    lastReport().clear();
    RegistryStore::SetReporter([](const char* message) { lastReport() = message; });
}

// Runs `f` in a child process (as the user nobody when this is root, for whom the test's files are not theirs);
// the child's exit status.
template <class F>
int inAnotherProcess(F f, bool asNobody) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        _exit(f());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// Whether process `pid` waits for a flock, as /proc/locks shows.
bool waitsForALock(pid_t pid) {
    std::ifstream locks("/proc/locks");
    const std::string mark = " " + std::to_string(pid) + " ";
    for (std::string line; std::getline(locks, line);)
        if (line.find("-> FLOCK") != std::string::npos && line.find(mark) != std::string::npos)
            return true;
    return false;
}

} // namespace

// A text that is no store is set aside, and every later one too, under a name of its own.
TEST_F(RegistryTest, StoresSetAsideAreNumberedAndNeverReplaced) {
    catchReports();
    for (const char* garbage : {"first garbage", "second garbage", "third garbage"}) {
        write(store, garbage);
        RegistryStore::Instance().reset();
        RegCloseKey(createKey("Software\\Orvelcraft\\Korvane"));
    }
    RegistryStore::SetReporter(nullptr);
    EXPECT_EQ(readFile(store.string() + ".bad"), "first garbage");
    EXPECT_EQ(readFile(store.string() + ".bad.2"), "second garbage");
    EXPECT_EQ(readFile(store.string() + ".bad.3"), "third garbage");
    EXPECT_NE(lastReport().find(store.string() + ".bad.3"), std::string::npos);
    std::string error;
    EXPECT_TRUE(ParseRegistry(readFile(store), error).has_value());
}

// A store with a line that does not read keeps every other setting, and the line, through a change.
TEST_F(RegistryTest, AStoreWithALineThatDoesNotReadKeepsTheRest) {
    std::filesystem::copy_file(std::filesystem::path(REGISTRY_REGRESSIONS) / "after-rewrite-unreadable.reg", store);
    catchReports();
    HKEY key = createKey("Software\\Orvelcraft\\Korvane\\Menus\\Background\\0000");
    char name[64];
    DWORD size = sizeof name;
    EXPECT_EQ(RegQueryValueExA(key, "Class", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "PasteImageCommand");
    setDword(key, "Changed", 1);
    RegCloseKey(key);
    RegistryStore::SetReporter(nullptr);
    EXPECT_NE(lastReport().find("kept as written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(store.string() + ".bad"));
    const std::string text = readFile(store);
    EXPECT_NE(text.find("\n\"v\"=\"a\nb\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Changed\"=dword:00000001"), std::string::npos);
    EXPECT_NE(text.find("\"Class\"=\"RedoImageCommand\""), std::string::npos);
}

// A string with a line break, given as hex(1): bytes, stays a value of its own through every rewrite.
TEST_F(RegistryTest, AStringWithALineBreakSurvivesRewrites) {
    std::filesystem::copy_file(std::filesystem::path(REGISTRY_REGRESSIONS) / "newline-in-sz-hex1.reg", store);
    for (DWORD round = 1; round <= 2; ++round) {
        RegistryStore::Instance().reset();
        HKEY key = createKey("Software\\Orvelcraft\\Korvane\\N");
        char text[8] = {};
        DWORD size = sizeof text;
        EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
        EXPECT_EQ(std::string(text, size), std::string("a\nb", 4));
        setDword(key, "Round", round);
        RegCloseKey(key);
    }
    EXPECT_NE(readFile(store).find("\"v\"=hex(1):61,0a,62,00\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(store.string() + ".bad"));
}

// A store that is a symbolic link stays one, its target taking the change; a store's permissions stay its own.
TEST_F(RegistryTest, ALinkedOrPrivateStoreStaysAsThePersonMadeIt) {
    std::filesystem::create_directory(folder.path() / "real");
    const std::filesystem::path real = folder.path() / "real" / "settings.reg";
    write(real, "REGEDIT4\n");
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    std::filesystem::create_symlink(real, store);
    HKEY key = createKey("Software\\Orvelcraft\\Korvane\\L");
    setDword(key, "Value", 7);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::is_symlink(store));
    EXPECT_NE(readFile(real).find("\"Value\"=dword:00000007"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A store in place that cannot be read is left as it is: the defaults are used and changes are not written.
TEST_F(RegistryTest, AStoreThatCannotBeReadIsLeftAsItIs) {
    write(folder.path() / "defaults.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orvelcraft\\Korvane]\n"
                                          "\"Level\"=dword:00000001\n");
    setenv("KORVANE_REGISTRY_DEFAULTS", (folder.path() / "defaults.reg").c_str(), 1);
    const auto refusedWithDefaults = [] {
        RegistryStore::Instance().reset();
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvelcraft\\Korvane", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return 1;
        DWORD level = 0, size = sizeof level;
        const bool defaults =
            RegQueryValueExA(key, "Level", nullptr, nullptr, reinterpret_cast<BYTE*>(&level), &size) == ERROR_SUCCESS &&
            level == 1;
        const DWORD value = 5;
        const bool refused = RegSetValueExA(key, "Level", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                            sizeof value) == ERROR_WRITE_FAULT;
        size = sizeof level;
        RegQueryValueExA(key, "Level", nullptr, nullptr, reinterpret_cast<BYTE*>(&level), &size);
        RegCloseKey(key);
        return defaults && refused && level == 5 ? 0 : 2; // the change stays in memory
    };
    catchReports();

    // A store of the person's that another user's program cannot read, in a folder open to all.
    const std::string mine = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orvelcraft\\Korvane]\n\"Mine\"=\"a value\"\n";
    write(store, mine);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    std::filesystem::permissions(store, std::filesystem::perms::none);
    if (geteuid() == 0) { // nobody's own file, but not readable even to nobody
        ASSERT_EQ(chown(store.c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(inAnotherProcess(refusedWithDefaults, true), 0);
    std::filesystem::permissions(store, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(readFile(store), mine);

    // UTF-16 text, as other tools export it.
    std::filesystem::remove(store);
    std::filesystem::copy_file(std::filesystem::path(REGISTRY_REGRESSIONS) / "utf16-export.reg", store);
    const std::string exported = readFile(store);
    EXPECT_EQ(refusedWithDefaults(), 0);
    EXPECT_NE(lastReport().find("UTF-16"), std::string::npos);
    EXPECT_EQ(readFile(store), exported);

    // A directory and a FIFO in the store's place (a FIFO is not opened for reading, which would wait forever).
    std::filesystem::remove(store);
    std::filesystem::create_directory(store);
    EXPECT_EQ(refusedWithDefaults(), 0);
    EXPECT_TRUE(std::filesystem::is_directory(store));
    std::filesystem::remove(store);
    ASSERT_EQ(mkfifo(store.c_str(), 0644), 0);
    EXPECT_EQ(refusedWithDefaults(), 0);
    EXPECT_TRUE(std::filesystem::is_fifo(store));
    EXPECT_NE(lastReport().find("not a regular file"), std::string::npos);
    RegistryStore::SetReporter(nullptr);
    std::filesystem::remove(store);
}

TEST_F(RegistryTest, AStoreWithAByteOrderMarkReads) {
    std::filesystem::copy_file(std::filesystem::path(REGISTRY_REGRESSIONS) / "utf8-byte-order-mark.reg", store);
    HKEY key = createKey("Software\\Orvelcraft\\Korvane");
    char text[32];
    DWORD size = sizeof text;
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, "with a mark");
    RegCloseKey(key);
}

// Loading imports the defaults and writes the store: it waits for the lock of a process in the middle of a change.
TEST_F(RegistryTest, LoadingWaitsForTheStoresLock) {
    write(folder.path() / "defaults.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Orvelcraft\\Korvane]\n");
    setenv("KORVANE_REGISTRY_DEFAULTS", (folder.path() / "defaults.reg").c_str(), 1);
    const int lock = ::open((store.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    std::fflush(nullptr);
    const pid_t reader = fork();
    if (reader == 0) {
        HKEY key = nullptr;
        _exit(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvelcraft\\Korvane", 0, KEY_READ, &key) == ERROR_SUCCESS
                  ? 0
                  : 1);
    }
    // Until the reader waits for the lock or has written the store without it.
    for (int i = 0; i < 10000 && !waitsForALock(reader) && !std::filesystem::exists(store); ++i)
        usleep(1000);
    EXPECT_FALSE(std::filesystem::exists(store));
    flock(lock, LOCK_UN);
    ::close(lock);
    int status = 0;
    waitpid(reader, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::filesystem::exists(store));
}

// A name with a line break would end its line in the store's text: it is refused.
TEST_F(RegistryTest, NamesWithALineBreakAreRefused) {
    HKEY key = createKey("Software\\Orvelcraft\\Korvane");
    const DWORD value = 1;
    EXPECT_EQ(RegSetValueExA(key, "two\nlines", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_INVALID_PARAMETER);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExA(key, "a\rb", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
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
