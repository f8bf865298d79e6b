// kortool archive end to end: storing, listing, extracting, removing, packing and checking, and every refusal.

#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"
#include "Core/Archives/ArchiveTesting.h"
#include "Core/Streams/StreamTestClasses.h"
#include "Host/KortoolRunner.h"
#include "IO/GMemoryIO.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(KortoolArchive, StoresListsExtractsRemovesAndPacks) {
    writeFile("chain.bin", chainStream(2));
    Outcome outcome = kortool("archive put clips.kpk 'Animals\\cat,chain' chain.bin");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("compressed"), std::string::npos);
    ASSERT_EQ(kortool("archive put clips.kpk Animals/dog,chain chain.bin").status, 0);

    outcome = kortool("archive list clips.kpk");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Animals\\\n  cat,chain  stored "), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("  dog,chain  stored "), std::string::npos) << outcome.out;

    ASSERT_EQ(kortool("archive get clips.kpk 'Animals\\cat,chain' out.bin").status, 0);
    EXPECT_EQ(readFile("out.bin"), chainStream(2));
    outcome = kortool("archive get clips.kpk Animals/cat,chain");
    EXPECT_NE(outcome.out.find("frame GTestItem #2"), std::string::npos) << outcome.out;

    ASSERT_EQ(kortool("archive remove clips.kpk Animals/cat,chain").status, 0);
    expectRefusal("archive get clips.kpk Animals/cat,chain", 1, "'clips.kpk' has no item 'Animals/cat,chain'");
    outcome = kortool("archive pack clips.kpk");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    outcome = kortool("archive check clips.kpk");
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find("1 items, all whole"), std::string::npos) << outcome.out;
    ASSERT_EQ(kortool("archive remove clips.kpk Animals").status, 0);
    EXPECT_EQ(kortool("archive list clips.kpk").out.find("Animals"), std::string::npos);
}

TEST(KortoolArchive, ExtractsItemsOfTheOlderFormWithoutAnUnpackedSize) {
    writeFile("chain.bin", chainStream(2));
    ASSERT_EQ(kortool("archive put older.kpk a,t chain.bin").status, 0);
    {
        GResourceFile file("older.kpk", GIO::ReadWrite);
        GResourceFullName a;
        a.parse_readable_form("a,t");
        GMemoryIO stored;
        stored.open(0);
        ASSERT_TRUE(file.extract_to(stored, a, false));
        GResourceFullName b;
        b.parse_readable_form("b,t");
        ASSERT_TRUE(file.get_server()->copy_from(b, stored, 0, stored.gtell(), GResourceFileBlock(true)));
    }
    ASSERT_EQ(kortool("archive get older.kpk b,t out.bin").status, 0);
    EXPECT_EQ(readFile("out.bin"), chainStream(2));
}

TEST(KortoolArchive, CheckFailsWhenTheNewestStateIsDamaged) {
    writeFile("chain.bin", chainStream(3));
    ASSERT_EQ(kortool("archive put damaged.kpk a,t chain.bin").status, 0);
    std::string bytes = readFile("damaged.kpk");
    // The newest tree's data, right before its double trailer, is broken; the first state (empty) still reads.
    bytes[bytes.size() - 48 - 3] = static_cast<char>(bytes[bytes.size() - 48 - 3] ^ 0xFF);
    bytes[bytes.size() - 48 - 6] = static_cast<char>(bytes[bytes.size() - 48 - 6] ^ 0xFF);
    writeFile("damaged.kpk", bytes);
    const Outcome outcome = kortool("archive check damaged.kpk");
    EXPECT_EQ(outcome.status, 1) << outcome.out;
    EXPECT_NE(outcome.out.find("newest state damaged"), std::string::npos) << outcome.out;
}

TEST(KortoolArchive, RefusesWhatItCannotUse) {
    std::filesystem::create_directory("folder");
    writeFile("empty.kpk", "");
    writeFile("noise.kpk", std::string("\x12\x84\x41\xDA\x04\x33\xCA\xA1\xD8\xED\x81\x05", 12));
    writeFile("chain.bin", chainStream(1));
    expectRefusal("archive list absent.kpk", 1, "'absent.kpk' does not exist");
    expectRefusal("archive list folder", 1, "'folder' is not a file");
    expectRefusal("archive check empty.kpk", 1, "'empty.kpk' is empty");
    expectRefusal("archive list noise.kpk", 1, "'noise.kpk' is not a resource archive");
    expectRefusal("archive check noise.kpk", 1, "'noise.kpk' is not a resource archive");
    expectRefusal("archive put new.kpk a,t noise.kpk", 1, "'noise.kpk' holds no object stream");
    expectRefusal("archive put new.kpk a,t absent.bin", 1, "File 'absent.bin' is absent");
    expectRefusal("archive put new.kpk nocomma chain.bin", 2, "'nocomma' is no item name");
    expectRefusal("archive put new.kpk a,t", 2, "wrong number of arguments to archive put");
    expectRefusal("archive", 2, "archive needs a command");
    expectRefusal("archive shred new.kpk", 2, "unknown archive command 'shred'");
    expectRefusal("archive pack new.kpk", 1, "'new.kpk' does not exist");
    expectRefusal("archive remove new.kpk a,t", 1, "'new.kpk' does not exist");
    EXPECT_FALSE(std::filesystem::exists("new.kpk"));

    // A second writer is refused while this process writes the archive.
    GResourceFile writer("held.kpk", GIO::ReadWrite);
    ASSERT_TRUE(writer.is_opened());
    expectRefusal("archive put held.kpk a,t chain.bin", 1, "'held.kpk' cannot be written");
    EXPECT_EQ(kortool("archive list held.kpk").status, 0);
}

// An archive none of whose trees reads is refused by every command, and none of them writes to it.
TEST(KortoolArchive, AnArchiveWithoutAReadableTreeIsRefusedByEveryCommand) {
    writeFile("chain.bin", chainStream(1));
    ASSERT_EQ(kortool("archive put broken.kpk a,t chain.bin").status, 0);
    const std::string bytes = WithEveryTreeBroken(readFile("broken.kpk"));
    writeFile("broken.kpk", bytes);
    for (const char* command : {"list broken.kpk", "get broken.kpk a,t", "put broken.kpk b,t chain.bin",
                                "remove broken.kpk a,t", "pack broken.kpk"})
        expectRefusal(std::string("archive ") + command, 1,
                      "'broken.kpk' is damaged: none of its directory trees can be read");
    EXPECT_EQ(kortool("archive check broken.kpk").status, 1);
    EXPECT_EQ(readFile("broken.kpk"), bytes);
}

TEST(KortoolArchive, RefusesAPathDeeperThanTheArchiveReadsBack) {
    writeFile("chain.bin", chainStream(1));
    ASSERT_EQ(kortool("archive put deep.kpk top,t chain.bin").status, 0);
    std::string path;
    for (int i = 0; i < 600; ++i)
        path += "d/";
    expectRefusal("archive put deep.kpk " + path + "a,t chain.bin", 1, "'deep.kpk' cannot hold '" + path + "a,t'");
    const Outcome outcome = kortool("archive check deep.kpk");
    EXPECT_EQ(outcome.status, 0) << outcome.out;
    EXPECT_NE(kortool("archive list deep.kpk").out.find("top,t"), std::string::npos);
}
