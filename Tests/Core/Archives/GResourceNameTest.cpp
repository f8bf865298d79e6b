#include "Archives/GResourceFileBlock.h"
#include "Archives/GResourceFullName.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const GString& s) {
    return static_cast<const char*>(s);
}

} // namespace

TEST(GResourcePath, NamesAndTheirAlgebra) {
    GResourcePath path("Scrap\\\\Animals//Cats/");
    ASSERT_EQ(path.getCount(), 3);
    EXPECT_EQ(str(path[2]), "Cats");
    EXPECT_EQ(str(path.get_readable_form()), "Scrap\\Animals\\Cats\\");
    EXPECT_EQ(str(GResourcePath("").get_readable_form()), "");

    const GResourcePath copy = path; // shared until one changes
    path.parent();
    EXPECT_EQ(path.getCount(), 2);
    EXPECT_EQ(copy.getCount(), 3);
    EXPECT_TRUE(copy.is_subdirectory(path, true));
    EXPECT_TRUE(path.is_subdirectory(path, false));
    EXPECT_FALSE(path.is_subdirectory(path, true));
    EXPECT_FALSE(path.is_subdirectory(copy, false));
    EXPECT_EQ(copy.find_difference(GResourcePath("Scrap\\Birds")), 1);
    EXPECT_EQ(copy.find_difference(copy), 3);
    EXPECT_EQ(str(copy.subpath(1).get_readable_form()), "Animals\\Cats\\");
    EXPECT_EQ(str(copy.subpath(1, 1).get_readable_form()), "Animals\\");
    EXPECT_TRUE(copy.subpath(5).isEmpty());

    GResourcePath moved = copy;
    EXPECT_TRUE(moved.rename_path_from_root(GResourcePath("Scrap\\Animals"), GResourcePath("Sets")));
    EXPECT_EQ(str(moved.get_readable_form()), "Sets\\Cats\\");
    EXPECT_FALSE(moved.rename_path_from_root(GResourcePath("Scrap"), GResourcePath("X")));
    moved += moved;
    EXPECT_EQ(moved.getCount(), 4);
    EXPECT_NE(moved, copy);
    EXPECT_EQ(GResourcePath("a/b"), GResourcePath("a\\b\\"));
}

TEST(GResourceFullName, ReadableForms) {
    const GResourceFullName name(GResourcePath("A\\B"), "pic", "cat");
    EXPECT_EQ(str(name.get_readable_form()), "A\\B\\cat,pic");
    for (const char* text : {"A\\B\\cat,pic", "A/B/cat,pic"}) {
        GResourceFullName parsed;
        parsed.parse_readable_form(text);
        EXPECT_EQ(parsed, name) << text;
    }
    GResourceFullName noType;
    noType.parse_readable_form("dir\\item");
    EXPECT_EQ(str(noType.get_name()), "item");
    EXPECT_TRUE(noType.get_type().isEmpty());
    GResourceFullName commas;
    commas.parse_readable_form("x,y,z");
    EXPECT_EQ(str(commas.get_name()), "x");
    EXPECT_EQ(str(commas.get_type()), "y,z");

    GResourceFullType type;
    type.parse_readable_form("Scrap\\Sets\\GSprite");
    EXPECT_EQ(str(type.get_type()), "GSprite");
    EXPECT_EQ(type.get_path().getCount(), 2);
    EXPECT_EQ(str(type.get_readable_form()), "Scrap\\Sets\\GSprite");
    type.empty();
    EXPECT_TRUE(type.is_empty());
}

TEST(GResourceFullName, StreamForms) {
    const GResourceFullName name(GResourcePath("A\\B"), "pic", "cat");
    mpstream stream;
    stream << name;
    stream.seekg(0, GIO::FromBegin);
    GResourceFullName read;
    stream >> read;
    EXPECT_EQ(read, name);

    // The older form: BYTE 0, the path, the item name, then the type.
    mpstream old;
    old.writeByte(0);
    old << GResourcePath("A\\B") << GString("cat") << GString("pic");
    old.seekg(0, GIO::FromBegin);
    GResourceFullName oldRead;
    old >> oldRead;
    EXPECT_EQ(oldRead, name);

    mpstream cut; // a count the data does not hold
    cut.writeByte(0);
    cut.writeWord(60000);
    cut.seekg(0, GIO::FromBegin);
    GResourcePath path;
    EXPECT_NE(catchException<InvalidPStream_Exception>([&] { cut >> path; }), nullptr);

    const GResourceFileBlock fresh(true);
    EXPECT_EQ(fresh.unpackedSize, -1);
    EXPECT_EQ(fresh.compressed, 1);
}
