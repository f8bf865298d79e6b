#include "Text/GString.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* id(unsigned value) {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(value));
}

bool sharesBlock(const GString& a, const GString& b) {
    return static_cast<const char*>(a) == static_cast<const char*>(b);
}

std::string str(const GString& s) {
    return std::string(s, s.length());
}

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

TEST(GStringConstruction, EmptyFormsShareOneRecord) {
    const GString a;
    const GString b(static_cast<const char*>(nullptr));
    const GString c("");
    const GString d("abc", 0u);
    const GString e('x', 0u);
    const GString f('\0', 5u);
    const GString g(u"");
    for (const GString* s : {&b, &c, &d, &e, &f, &g}) {
        EXPECT_TRUE(s->isEmpty());
        EXPECT_EQ(s->length(), 0u);
        EXPECT_TRUE(sharesBlock(a, *s));
    }
    EXPECT_STREQ(a, "");
}

TEST(GStringConstruction, PointerValuesBelow0x10000AreStringIds) {
    EXPECT_EQ(str(GString(id(3))), "Class with name '%s' already exists");
    EXPECT_TRUE(GString(id(42)).isEmpty()); // no such string
    GString assigned = "x";
    assigned = id(49);
    EXPECT_EQ(str(assigned), "Invalid file format");
}

TEST(GStringConstruction, CountsAndCharacters) {
    EXPECT_EQ(str(GString("abcdef", 3)), "abc");
    EXPECT_EQ(str(GString('z', 4)), "zzzz");
    GString s;
    s = 'q';
    EXPECT_EQ(str(s), "q");
    s = '\0';
    EXPECT_TRUE(s.isEmpty());
    s.assign("hello", 4);
    EXPECT_EQ(str(s), "hell");
    s.assign(nullptr, 4);
    EXPECT_TRUE(s.isEmpty());
}

TEST(GStringConstruction, SixteenBitTextBecomesUtf8) {
    EXPECT_EQ(str(GString(u"abc")), "abc");
    // Three-byte and four-byte characters must survive whole.
    EXPECT_EQ(str(GString(u"\u65E5\u672C")), "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(str(GString(u"a\U0001F600")), "a\xF0\x9F\x98\x80");
    const char16_t unpaired[] = {u'a', 0xD800, u'b', 0};
    EXPECT_TRUE(GString(unpaired).isEmpty());
}

TEST(GStringStorage, CapacityGrowsInSixteenByteSteps) {
    EXPECT_EQ(GString('a', 14).capacity(), 16u);
    EXPECT_EQ(GString('a', 15).capacity(), 32u);
    EXPECT_EQ(GString('a', 1).capacity(), 16u);
    EXPECT_EQ(GString('a', 31).capacity(), 48u);
}

TEST(GStringStorage, CopiesShareUntilOneChanges) {
    GString a("shared text");
    GString b = a;
    EXPECT_TRUE(sharesBlock(a, b));
    EXPECT_EQ(a, b);
    b += "!";
    EXPECT_FALSE(sharesBlock(a, b));
    EXPECT_EQ(str(a), "shared text");
    EXPECT_EQ(str(b), "shared text!");

    GString c = a;
    c.at(0, 'S');
    EXPECT_EQ(str(a), "shared text");
    EXPECT_EQ(str(c), "Shared text");
}

TEST(GStringStorage, AppendingReusesAnUnsharedBlock) {
    GString s("abc");
    const char* before = s;
    s += "def";
    EXPECT_EQ(static_cast<const char*>(s), before);
    s += GString('x', 20);
    EXPECT_EQ(str(s), "abcdef" + std::string(20, 'x'));
}

TEST(GStringStorage, CopiesMayLiveInSeveralThreads) {
    const GString original(std::string(100, 'k').c_str());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&original] {
            for (int i = 0; i < 20000; ++i) {
                GString copy = original;
                GString other(copy);
                copy = GString();
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(original.length(), 100u);
}

TEST(GStringAccess, WritingACharacter) {
    GString s("abcd");
    s.at(9, 'x'); // beyond the end: nothing
    s.at(1, 'B');
    EXPECT_EQ(str(s), "aBcd");
    s.at(2, '\0');
    EXPECT_EQ(s.length(), 2u);
    EXPECT_EQ(str(s), "aB");
    s.at(0, '\0');
    EXPECT_TRUE(sharesBlock(s, GString()));
}

TEST(GStringAccess, RawBufferDiscardsTheOldText) {
    GString s("old text");
    const GString copy = s;
    char* buffer = s.getBuffer(40);
    EXPECT_EQ(s.length(), 0u);
    EXPECT_GE(s.capacity(), 41u);
    std::strcpy(buffer, "new");
    s.releaseBuffer();
    EXPECT_EQ(str(s), "new");
    EXPECT_EQ(s.capacity(), 16u); // freeExtra shrank the block
    EXPECT_EQ(str(copy), "old text");

    std::strcpy(s.getBuffer(10), "0123456789");
    s.releaseBuffer(4);
    EXPECT_EQ(str(s), "0123");

    s.getBuffer(10);
    s.releaseBuffer();
    EXPECT_TRUE(sharesBlock(s, GString()));
}

TEST(GStringAccess, FreeExtraMovesIntoAFittingBlock) {
    GString s('a', 40);
    s.remove(3);
    EXPECT_EQ(s.capacity(), 48u);
    s.freeExtra();
    EXPECT_EQ(s.capacity(), 16u);
    EXPECT_EQ(str(s), "aaa");
}

TEST(GStringConcatenation, AllOperandShapes) {
    const GString ab("ab");
    EXPECT_EQ(str(ab + GString("cd")), "abcd");
    EXPECT_EQ(str(ab + "cd"), "abcd");
    EXPECT_EQ(str("cd" + ab), "cdab");
    EXPECT_EQ(str(ab + 'c'), "abc");
    EXPECT_EQ(str('c' + ab), "cab");
    EXPECT_EQ(str(ab + '\0'), "ab");
    EXPECT_EQ(str(ab + static_cast<const char*>(nullptr)), "ab");
    GString s = ab;
    s += "";
    s += '\0';
    s += static_cast<const char*>(nullptr);
    EXPECT_TRUE(sharesBlock(s, ab));
}

TEST(GStringConcatenation, SelfReference) {
    GString s("abc");
    s += s;
    EXPECT_EQ(str(s), "abcabc");
    GString t("abcdef");
    t += static_cast<const char*>(t) + 2; // a text inside its own block
    EXPECT_EQ(str(t), "abcdefcdef");
    GString u("abcdef");
    u.insert(0, static_cast<const char*>(u) + 2);
    EXPECT_EQ(str(u), "cdefabcdef");
    GString v("abcdef");
    v.assign(static_cast<const char*>(v) + 1, 3);
    EXPECT_EQ(str(v), "bcd");
    GString w("abcdef");
    w.replace(0, 2, static_cast<const char*>(w) + 4);
    EXPECT_EQ(str(w), "efcdef");
}

TEST(GStringConcatenation, Repetition) {
    GString s("ab");
    EXPECT_EQ(str(s * 3), "ababab");
    EXPECT_EQ(str(3 * s), "ababab");
    EXPECT_EQ(str(s * 1), "ab");
    EXPECT_TRUE((s * 0).isEmpty());
    s *= 5;
    EXPECT_EQ(str(s), "ababababab");
}

TEST(GStringComparison, ByteOrderAndNull) {
    const GString abc("abc");
    EXPECT_TRUE(abc == "abc");
    EXPECT_TRUE("abc" == abc);
    EXPECT_TRUE(abc != "abd");
    EXPECT_TRUE(abc < "abd");
    EXPECT_TRUE("abb" < abc);
    EXPECT_TRUE(abc > GString("ab"));
    EXPECT_TRUE(abc <= abc);
    EXPECT_TRUE(abc >= "abc");
    EXPECT_TRUE(GString() == static_cast<const char*>(nullptr));
    EXPECT_TRUE(GString("\xC3\xA9") > "z"); // UTF-8 orders by code point
}

TEST(GStringComparison, CaseInsensitive) {
    EXPECT_LT(GString::UCcompare("ABC", "abd"), 0);
    EXPECT_EQ(GString::UCcompare("Abc", "aBC"), 0);
    EXPECT_GT(GString::UCcompare("abc", "AB"), 0);
    EXPECT_LT(GString::UCcompare(nullptr, "a"), 0);
    EXPECT_EQ(GString::UCcompare(nullptr, ""), 0);
}

TEST(GStringPieces, RemoveAndExtractClamp) {
    GString s("abcdef");
    s.remove(4, 2);
    EXPECT_EQ(str(s), "abcdef");
    s.remove(1, 3);
    EXPECT_EQ(str(s), "adef");
    s.remove(2, 100);
    EXPECT_EQ(str(s), "ad");
    s.remove(10);
    EXPECT_EQ(str(s), "ad");

    GString t("abcdef");
    t.extract(1, 4);
    EXPECT_EQ(str(t), "bcd");
    t.extract(2);
    EXPECT_EQ(str(t), "d");
    GString u("abcdef");
    u.extract(4, 2);
    EXPECT_TRUE(u.isEmpty());
}

TEST(GStringPieces, Substrings) {
    const GString s("abcdef");
    EXPECT_EQ(str(s.substr(2)), "cdef");
    EXPECT_EQ(str(s.substr(2, 3)), "cde");
    EXPECT_EQ(str(s.mid(4, 100)), "ef");
    EXPECT_EQ(str(s(1, 2)), "bc");
    EXPECT_EQ(str(s(5)), "f");
    EXPECT_TRUE(s.substr(9).isEmpty());
    EXPECT_EQ(str(s.left(2)), "ab");
    EXPECT_EQ(str(s.right(2)), "ef");
    EXPECT_EQ(str(GString("abc").right(10)), "abc");
    EXPECT_EQ(str(s.substr(3, 0xFFFFFFFF)), "def");
}

TEST(GStringPieces, InsertPadsBeyondTheEnd) {
    GString s("abc");
    s.insert(5, "x");
    EXPECT_EQ(str(s), "abc  x");
    s.insert(0, '>');
    EXPECT_EQ(str(s), ">abc  x");
    s.insert(GString::End, GString("<"));
    EXPECT_EQ(str(s), ">abc  x<");
    s.insert(2, "12345", 2);
    EXPECT_EQ(str(s), ">a12bc  x<");
    s.insert(1, "");
    s.insert(1, '\0');
    s.insert(1, static_cast<const char*>(nullptr));
    EXPECT_EQ(str(s), ">a12bc  x<");
}

TEST(GStringPieces, ReplaceRangeTakesAnEndPosition) {
    GString s("abcdef");
    s.replace(1, 3, "XY");
    EXPECT_EQ(str(s), "aXYdef");
    s.replace(4, 99, GString("!"));
    EXPECT_EQ(str(s), "aXYd!");
}

TEST(GStringPieces, ReplaceText) {
    GString all("a,b,c");
    EXPECT_EQ(all.replace(",", ";", true), 3);
    EXPECT_EQ(str(all), "a;b;c");
    GString first("a,b,c");
    EXPECT_EQ(first.replace(GString(","), ";", false), 1);
    EXPECT_EQ(str(first), "a;b,c");
    EXPECT_EQ(first.replace("#", ";", true), -1);
    EXPECT_EQ(first.replace(nullptr, ";", true), -1);
    EXPECT_EQ(first.replace(";", nullptr, true), -1);
    EXPECT_EQ(first.replace("", "x", true), -1); // an empty pattern never loops
    EXPECT_EQ(str(first), "a;b,c");

    GString grow("aaa");
    EXPECT_EQ(grow.replace("a", "aa", true), 4); // searching resumes behind the inserted text
    EXPECT_EQ(str(grow), "aaaaaa");
    GString shrink("xyxyx");
    EXPECT_EQ(shrink.replace("xy", "", true), 0);
    EXPECT_EQ(str(shrink), "x");
}

TEST(GStringPieces, Translate) {
    GString s("hello world");
    s.translate("lo", "01x");
    EXPECT_EQ(str(s), "he001 w1r0d");
    s.translate("hw", "H");
    EXPECT_EQ(str(s), "He001 w1r0d");
    s.translate('0', 'o');
    EXPECT_EQ(str(s), "Heoo1 w1rod");
    s.translate('1', '\0');
    EXPECT_EQ(str(s), "Heoo");
    s.translate(nullptr, "x");
    EXPECT_EQ(str(s), "Heoo");
}

TEST(GStringLengths, SetExpandGrowDetab) {
    GString s("abc");
    s.setLength(5, '.');
    EXPECT_EQ(str(s), "abc..");
    s.setLength(2, '.');
    EXPECT_EQ(str(s), "ab");
    s.expandTo(1, '-');
    EXPECT_EQ(str(s), "ab");
    s.expandTo(4, '-');
    EXPECT_EQ(str(s), "ab--");
    s.setLength(0, 'c');
    EXPECT_TRUE(s.isEmpty());

    GString g("abc");
    g.grow(2);
    EXPECT_EQ(str(g), "abc  ");
    g.grow(-1);
    EXPECT_EQ(str(g), "abc ");
    g.grow(-10);
    EXPECT_TRUE(g.isEmpty());

    GString t("a\tb\t\tc");
    t.detab(2);
    EXPECT_EQ(str(t), "a  b    c");
    GString u("\ta\t");
    u.detab(0);
    EXPECT_EQ(str(u), "a");
    GString v("\t");
    v.detab(0);
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(GString("a,b,,c").char_count(','), 3u);
}

TEST(GStringTrim, CharSetAndPredicate) {
    EXPECT_EQ(str(GString("xxabxx").ltrim('x')), "abxx");
    EXPECT_EQ(str(GString("xxabxx").rtrim('x')), "xxab");
    EXPECT_EQ(str(GString("xxabxx").trim('x')), "ab");
    EXPECT_EQ(str(GString(" \t ab \n").trim(" \t\n")), "ab");
    EXPECT_EQ(str(GString("12ab34").trim(isDigit)), "ab");
    EXPECT_EQ(str(GString("12ab34").ltrim(isDigit)), "ab34");
    EXPECT_EQ(str(GString("12ab34").rtrim(isDigit)), "12ab");
    EXPECT_TRUE(GString("xxxx").trim('x').isEmpty());
    EXPECT_EQ(str(GString(" ab ").trim(static_cast<const char*>(nullptr))), " ab ");
    // A multibyte set member matches whole characters only: "é" (C3 A9) must not strip the C3 of "Ã" (C3 83).
    EXPECT_EQ(str(GString("\xC3\xA9x\xC3\x83").trim("\xC3\xA9")), "x\xC3\x83");
}

TEST(GStringCase, LowerAndUpper) {
    GString s("MiXeD 123 \xC3\x89");
    const GString copy = s;
    s.toLower();
    EXPECT_EQ(str(s), "mixed 123 \xC3\x89"); // multibyte characters are left alone
    EXPECT_EQ(str(copy), "MiXeD 123 \xC3\x89");
    s.toUpper();
    EXPECT_EQ(str(s), "MIXED 123 \xC3\x89");
    char raw[] = "AbC";
    EXPECT_STREQ(GString::ToLower(raw), "abc");
    EXPECT_EQ(GString::ToUpper(nullptr), nullptr);
}

TEST(GStringSegments, FieldsBetweenDelimiters) {
    const GString s(",x,y");
    EXPECT_TRUE(s.getSegmentExcluding(',', 0).isEmpty());
    EXPECT_EQ(str(s.getSegmentExcluding(',', 1)), "x");
    EXPECT_EQ(str(s.getSegmentExcluding(',', 2)), "y");
    EXPECT_TRUE(s.getSegmentExcluding(',', 5).isEmpty());
    EXPECT_EQ(str(s), ",x,y");

    EXPECT_EQ(str(GString("a|b|c").segmentExcluding("|", 2)), "c");
    EXPECT_EQ(str(GString("one two  three").getSegmentExcluding(" ", 2)), "three"); // runs of delimiters are one
}

TEST(GStringSegments, RunsInsideTheSet) {
    const GString s("12ab345cd6");
    EXPECT_EQ(str(s.getSegmentIncluding("0123456789", 0)), "12");
    EXPECT_EQ(str(s.getSegmentIncluding("0123456789", 1)), "345");
    EXPECT_EQ(str(s.getSegmentIncluding("0123456789", 2)), "6");
    EXPECT_TRUE(s.getSegmentIncluding("0123456789", 3).isEmpty());
    EXPECT_TRUE(GString("ab1").getSegmentIncluding("0123456789", 0).isEmpty()); // run 0 may be empty
    EXPECT_EQ(str(GString("--a---b").getSegmentIncluding('-', 1)), "---");
    EXPECT_EQ(str(GString("a\xC3\xA9\xC3\xA9"
                          "b")
                      .getSegmentIncluding("\xC3\xA9", 1)),
              "\xC3\xA9\xC3\xA9");
}
