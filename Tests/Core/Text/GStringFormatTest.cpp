#include "Text/CoreStringTable.h"
#include "Text/GString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string str(const GString& s) {
    return std::string(s, s.length());
}

// Knows ids 9000 and up: their text is id - 9000 + 1 copies of 'L', cut to the buffer like LoadStringA.
struct LongTextLoader {
    int calls = 0;

    static unsigned load(unsigned id, char* buffer, unsigned size, void* context) {
        if (id < 9000 || id > 9999)
            return 0;
        ++static_cast<LongTextLoader*>(context)->calls;
        const unsigned length = std::min(id - 9000 + 1, size - 1);
        std::memset(buffer, 'L', length);
        buffer[length] = '\0';
        return length;
    }
};

// Answers id 9500 with "override": registered after LongTextLoader, so it is asked first.
unsigned overridingLoader(unsigned id, char* buffer, unsigned size, void*) {
    if (id != 9500)
        return 0;
    std::strncpy(buffer, "override", size);
    return static_cast<unsigned>(std::strlen("override"));
}

LongTextLoader longTexts;

void registerTestLoaders() {
    static const bool registered = [] {
        GString::AddLoadStringFunc(nullptr, nullptr); // ignored
        GString::AddLoadStringFunc(LongTextLoader::load, &longTexts);
        GString::AddLoadStringFunc(overridingLoader, nullptr);
        return true;
    }();
    (void)registered;
}

} // namespace

TEST(GStringFormat, PrintfIntoTheWorkBuffer) {
    GString s;
    s.format("%s=%d", "x", 42);
    EXPECT_EQ(str(s), "x=42");
    EXPECT_EQ(str(GString::Format("%05.1f|%c", 2.25, 'z')), "002.2|z");
    EXPECT_TRUE(GString::Format("%s", "").isEmpty());
}

TEST(GStringFormat, LongOutputIsCutNotOverflowed) {
    const std::string big(5000, 'b');
    const GString s = GString::Format("%s", big.c_str());
    EXPECT_EQ(s.length(), 4095u);
    EXPECT_EQ(str(s), big.substr(0, 4095));
}

TEST(GStringFormat, FormatFromStringResources) {
    EXPECT_EQ(str(GString::Format(2u, 5L, 0L, 2L)), "GCollection : index (5) is out of range (0-2)");
    EXPECT_EQ(str(GString::Format(GetCoreModule(), 3u, "GThing")), "Class with name 'GThing' already exists");
    GString s("not empty");
    s.format(4711u);
    EXPECT_TRUE(s.isEmpty()); // unknown id
    s = "not empty";
    s.format(GetCoreModule(), 4711u);
    EXPECT_TRUE(s.isEmpty());
}

TEST(GStringLoading, FromAModule) {
    GString s;
    EXPECT_TRUE(s.loadString(GetCoreModule(), 49));
    EXPECT_EQ(str(s), "Invalid file format");
    EXPECT_FALSE(s.loadString(GetCoreModule(), 4711));
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(str(GString(GetCoreModule(), 46)), "Attempt writing to read-only file/buffer");
}

TEST(GStringLoading, NewestLoaderFirst) {
    registerTestLoaders();
    GString s;
    EXPECT_TRUE(s.loadString(9500));
    EXPECT_EQ(str(s), "override");
    EXPECT_TRUE(s.loadString(9003));
    EXPECT_EQ(str(s), "LLLL");
    EXPECT_TRUE(s.loadString(47)); // the core's loader still answers ids nobody newer knows
    EXPECT_EQ(str(s), "Attempt reading of write-only file/buffer");
}

TEST(GStringLoading, GrowsTheBufferWhileTheTextMayBeCut) {
    registerTestLoaders();
    GString s;
    // 253 characters leave 3 bytes of a 256-byte buffer free: one call.
    longTexts.calls = 0;
    EXPECT_TRUE(s.loadString(9000 + 252));
    EXPECT_EQ(s.length(), 253u);
    EXPECT_EQ(longTexts.calls, 1);
    // 254 characters leave only 2: the call is repeated with 512 bytes.
    longTexts.calls = 0;
    EXPECT_TRUE(s.loadString(9000 + 253));
    EXPECT_EQ(s.length(), 254u);
    EXPECT_EQ(longTexts.calls, 2);
    // 700 characters need 768 bytes.
    longTexts.calls = 0;
    EXPECT_TRUE(s.loadString(9000 + 699));
    EXPECT_EQ(str(s), std::string(700, 'L'));
    EXPECT_EQ(longTexts.calls, 3);
}
