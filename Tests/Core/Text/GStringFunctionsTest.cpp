#include "Text/GStringFunctions.h"

#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

TEST(GStringFunctions, NewStr) {
    char* copy = gnewstr("text");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "text");
    std::free(copy);
    EXPECT_EQ(gnewstr(nullptr), nullptr);
}

TEST(GStringFunctions, CaseInsensitiveSearch) {
    const char* text = "Hello World";
    EXPECT_EQ(gstristr(text, "WORLD"), text + 6);
    EXPECT_EQ(gstristr(text, "o w"), text + 4);
    EXPECT_EQ(gstristr(text, ""), text);
    EXPECT_EQ(gstristr(text, "worlds"), nullptr);
    EXPECT_EQ(gstristr("", "a"), nullptr);
    EXPECT_EQ(gstristr(nullptr, "a"), nullptr);
}

TEST(GStringFunctions, DecimalPointInTheCLocale) {
    const char* text = "1.5rest";
    char* end = nullptr;
    EXPECT_DOUBLE_EQ(gstr2d(text, &end), 1.5);
    EXPECT_EQ(end, text + 3);
    EXPECT_DOUBLE_EQ(gstr2d("-2e3", nullptr), -2000.0);
    EXPECT_DOUBLE_EQ(gstr2d("abc", &end), 0.0);
}

// Builds a German locale (decimal comma) into a temporary folder, so the test does not depend on the locales
// that happen to be installed.
TEST(GStringFunctions, DecimalPointUnderACommaLocale) {
    TempDirectory locales;
    const std::string build =
        "localedef -i de_DE -f UTF-8 " + (locales.path() / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "localedef or the de_DE locale source is not available";
    const char* previousPath = std::getenv("LOCPATH");
    const std::string savedPath = previousPath ? previousPath : "";
    setenv("LOCPATH", locales.path().c_str(), 1);
    const std::string previousLocale = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);

    char* end = nullptr;
    const char* point = "1.5";
    const char* comma = "2,25";
    const char* twoPoints = "3.1.4";
    const double withPoint = gstr2d(point, &end);
    const char* pointEnd = end;
    const double withComma = gstr2d(comma, &end);
    const char* commaEnd = end;
    const double twice = gstr2d(twoPoints, &end);
    const char* twiceEnd = end;

    std::setlocale(LC_NUMERIC, previousLocale.c_str());
    if (previousPath)
        setenv("LOCPATH", savedPath.c_str(), 1);
    else
        unsetenv("LOCPATH");

    EXPECT_DOUBLE_EQ(withPoint, 1.5);
    EXPECT_EQ(pointEnd, point + 3);
    EXPECT_DOUBLE_EQ(withComma, 2.25);
    EXPECT_EQ(commaEnd, comma + 4);
    EXPECT_DOUBLE_EQ(twice, 3.1);
    EXPECT_EQ(twiceEnd, twoPoints + 3);
}
