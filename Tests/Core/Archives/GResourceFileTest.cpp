#include "Archives/GResourceFile.h"
#include "Archives/ArchiveLayout.h"
#include "Archives/GResourceFileServer.h"
#include "Archives/GResourceIterator.h"
#include "Archives/ResourceTree.h"
#include "Core/Archives/ArchiveTesting.h"
#include "Core/Archives/GArchiveText.h"
#include "IO/GFileIO.h"
#include "IO/GMemoryIO.h"
#include "Streams/mpstream.h"
#include "Support/FileContents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

GResourceFullName itemName(const char* readable) {
    GResourceFullName name;
    name.parse_readable_form(readable);
    return name;
}

bool putText(GResourceFile& file, const char* readable, const char* text) {
    GArchiveText object(text);
    return file.put(&object, itemName(readable), false);
}

std::string getText(GResourceFile& file, const char* readable) {
    return std::string(TakeArchiveText(file.get(itemName(readable), false)));
}

// Records every archive notice as "reason-name detail".
class NoticeLog : public GCallbackReceiver {
public:
    NoticeLog() { GResourceFile::RegisterCallback(this); }
    ~NoticeLog() override { GResourceFile::UnRegisterCallback(this); }

    void callbackReceived(GCallbackEvent& event) override {
        const auto& base = static_cast<const GResourceFile::Reason_BaseInfo&>(event);
        const auto pathOf = [](const GResourcePath* path) {
            return std::string(path->get_readable_form());
        };
        if (event.reason == GResourceFile::Reason_ItemPut || event.reason == GResourceFile::Reason_ItemRemoved ||
            event.reason == GResourceFile::Reason_ItemCopied || event.reason == GResourceFile::Reason_TypeCreated ||
            event.reason == GResourceFile::Reason_TypeRemoved) {
            const auto& info = static_cast<const GResourceFile::ItemInfo&>(event);
            entries.push_back(reasonName(event.reason) + " " + std::string(info.name->get_readable_form()));
        } else if (event.reason == GResourceFile::Reason_ItemRenamed) {
            const auto& info = static_cast<const GResourceFile::ItemRenameInfo&>(event);
            entries.push_back("renamed " + std::string(info.from->get_readable_form()) + " " +
                              std::string(info.to->get_readable_form()));
        } else if (event.reason == GResourceFile::Reason_DirectoryRenamed ||
                   event.reason == GResourceFile::Reason_CurrentDirectoryChanged) {
            const auto& info = static_cast<const GResourceFile::PathRenameInfo&>(event);
            entries.push_back(reasonName(event.reason) + " " + pathOf(info.from) + " " + pathOf(info.to));
        } else if (event.reason != GResourceFile::Reason_Flushed) {
            const auto& info = static_cast<const GResourceFile::PathInfo&>(event);
            entries.push_back(reasonName(event.reason) + " " + pathOf(info.path));
        }
        servers.push_back(base.server);
    }

    std::vector<std::string> entries;
    std::vector<GResourceFileServer*> servers;

private:
    static std::string reasonName(unsigned long reason) {
        const std::pair<const GCallbackReason*, const char*> names[] = {
            {&GResourceFile::Reason_ItemPut, "put"},
            {&GResourceFile::Reason_ItemRemoved, "removed"},
            {&GResourceFile::Reason_ItemCopied, "copied"},
            {&GResourceFile::Reason_TypeCreated, "type+"},
            {&GResourceFile::Reason_TypeRemoved, "type-"},
            {&GResourceFile::Reason_DirectoryCreated, "dir+"},
            {&GResourceFile::Reason_DirectoryRemoved, "dir-"},
            {&GResourceFile::Reason_DirectoryRenamed, "dir>"},
            {&GResourceFile::Reason_DirectoryEmptied, "emptied"},
            {&GResourceFile::Reason_CurrentDirectoryChanged, "cd"},
        };
        for (const auto& [id, name] : names)
            if (reason == *id)
                return name;
        return "?";
    }
};

} // namespace

TEST(GResourceFile, ANewEmptyFileBecomesHeaderEmptyRootAndDoubleTrailer) {
    {
        GResourceFile file("new.kpk", GIO::ReadWrite);
        ASSERT_TRUE(file.is_opened());
    }
    const std::string bytes = readFile("new.kpk");
    ASSERT_GT(bytes.size(), 8u + 48u);
    EXPECT_EQ(bytes.substr(0, 8), std::string(ArchiveLayout::Header.begin(), ArchiveLayout::Header.end()));
    const auto trailer = ArchiveLayout::MakeTrailer(8);
    const std::string expected(trailer.begin(), trailer.end());
    EXPECT_EQ(bytes.substr(bytes.size() - 48), expected + expected);

    // An empty file is made an archive too; a file of other bytes is not an archive and stays as it was.
    WriteBytes("empty.kpk", "");
    EXPECT_TRUE(GResourceFile("empty.kpk", GIO::ReadWrite).is_opened());
    EXPECT_EQ(readFile("empty.kpk"), bytes);
    WriteBytes("text.txt", "hello, this is not an archive");
    EXPECT_FALSE(GResourceFile("text.txt", GIO::ReadWrite).is_opened());
    EXPECT_EQ(readFile("text.txt"), "hello, this is not an archive");
    EXPECT_FALSE(GResourceFile("missing.kpk", GIO::ReadOnly).is_opened());
    EXPECT_FALSE(std::filesystem::exists("missing.kpk"));
}

TEST(GResourceFile, ItemsPutGetRenameCopyAndRemoveAcrossReopening) {
    {
        GResourceFile file("items.kpk", GIO::ReadWrite);
        EXPECT_TRUE(putText(file, "Animals\\cat,pic", "tabby"));
        EXPECT_TRUE(putText(file, "Animals\\dog,pic", "spaniel"));
        EXPECT_TRUE(putText(file, "Animals\\dog,pic", "beagle")); // replaces
        EXPECT_TRUE(putText(file, "Animals/Birds/owl,pic", "barn"));
        EXPECT_TRUE(putText(file, "top,note", "root item"));
        EXPECT_TRUE(file.rename(itemName("top,note"), itemName("Notes\\first,note")));
        EXPECT_TRUE(file.copy(itemName("Animals\\cat,pic"), itemName("Animals\\kitten,pic")));
        EXPECT_TRUE(file.remove(itemName("Animals\\dog,pic")));
        EXPECT_FALSE(file.remove(itemName("Animals\\dog,pic")));
        EXPECT_EQ(file.read_class_name(itemName("Animals\\cat,pic")), "GArchiveText");
        EXPECT_EQ(file.read_class_name(itemName("Animals\\none,pic")), "");
        EXPECT_TRUE(file.flush());
    }
    GResourceFile file("items.kpk", GIO::ReadOnly);
    EXPECT_EQ(ArchiveListing(file), "Animals\\\n"
                                    "Animals\\cat,pic=tabby\n"
                                    "Animals\\kitten,pic=tabby\n"
                                    "Animals\\Birds\\\n"
                                    "Animals\\Birds\\owl,pic=barn\n"
                                    "Notes\\\n"
                                    "Notes\\first,note=root item\n");
    const GResourceFileBlock block = file.get_resource_block(itemName("Animals\\cat,pic"));
    EXPECT_TRUE(block.compressed);
    EXPECT_GT(block.unpackedSize, 0);
    EXPECT_GE(block.position, 8);

    // The forms with a name and a type address the current directory.
    file.set_current_directory(GResourcePath("Animals"));
    EXPECT_TRUE(file.exist("cat", "pic"));
    EXPECT_EQ(TakeArchiveText(file.get("kitten", "pic", false)), "tabby");
    GResourceIterator items(file, "pic");
    EXPECT_EQ(items.count(), 2);
    EXPECT_EQ(items.name(1), "kitten");
    EXPECT_EQ(items.name(2), "");
}

TEST(GResourceFile, KeptObjectsStayLoadedAndBelongToTheArchive) {
    GResourceFile file("kept.kpk", GIO::ReadWrite);
    auto* object = new GArchiveText("kept");
    ASSERT_TRUE(file.put(object, itemName("a,t"), true));
    EXPECT_EQ(file.get(itemName("a,t"), true), object);
    GResourceIterator items(file, GResourceFullType(GResourcePath(), "t"));
    EXPECT_EQ(items.get_loaded(), object);
    // Without keep, a fresh copy is read from the file.
    GStreamable* copy = file.get(itemName("a,t"), false);
    EXPECT_NE(copy, object);
    EXPECT_EQ(TakeArchiveText(copy), "kept");
    // A later put without keep drops the loaded object.
    ASSERT_TRUE(putText(file, "a,t", "again"));
    EXPECT_EQ(items.get_loaded(), nullptr);
}

// Reads the text of every object a put notice carries, as a scrapbook showing the new item would.
class PutReader : public GCallbackReceiver {
public:
    PutReader() { GResourceFile::RegisterCallback(this); }
    ~PutReader() override { GResourceFile::UnRegisterCallback(this); }

    void callbackReceived(GCallbackEvent& event) override {
        if (event.reason == GResourceFile::Reason_ItemPut)
            texts.emplace_back(
                static_cast<const GArchiveText*>(static_cast<GResourceFile::ItemInfo&>(event).object)->text);
    }

    std::vector<std::string> texts;
};

TEST(GResourceFile, AnObjectTheArchiveHoldsLoadedStaysAliveWhenPutAgain) {
    GResourceFile file("loaded.kpk", GIO::ReadWrite);
    putText(file, "a,t", "first");
    PutReader reader;
    auto* loaded = static_cast<GArchiveText*>(file.get(itemName("a,t"), true));
    ASSERT_NE(loaded, nullptr);
    loaded->text = "changed";
    ASSERT_TRUE(file.put(loaded, itemName("a,t"), false)); // stored again, still the archive's
    EXPECT_EQ(file.get(itemName("a,t"), true), loaded);
    EXPECT_EQ(std::string(loaded->text), "changed");
    EXPECT_EQ(getText(file, "a,t"), "changed");

    // Kept under another name, it moves there: one item holds it, the other reads it from the file.
    ASSERT_TRUE(file.put(loaded, itemName("b,t"), true));
    EXPECT_EQ(file.get(itemName("b,t"), true), loaded);
    GStreamable* fresh = file.get(itemName("a,t"), true);
    EXPECT_NE(fresh, loaded);
    EXPECT_EQ(std::string(static_cast<GArchiveText*>(fresh)->text), "changed");
    EXPECT_EQ(reader.texts, (std::vector<std::string>{"changed", "changed"}));
    file.close(); // each loaded object is destroyed once (AddressSanitizer watches)
}

TEST(GResourceFile, DirectoriesAndTypes) {
    GResourceFile file("dirs.kpk", GIO::ReadWrite);
    EXPECT_TRUE(file.create_directory(GResourcePath("A\\B\\C")));
    EXPECT_FALSE(file.create_directory(GResourcePath("A\\B")));
    EXPECT_TRUE(putText(file, "A\\B\\C\\x,t", "x"));
    EXPECT_TRUE(putText(file, "A\\B\\y,u", "y"));
    EXPECT_FALSE(file.rename_directory(GResourcePath("A"), GResourcePath("A\\B\\D")));    // into itself
    EXPECT_FALSE(file.rename_directory(GResourcePath("A\\B\\C"), GResourcePath("A\\B"))); // onto an existing one
    EXPECT_TRUE(file.rename_directory(GResourcePath("A\\B"), GResourcePath("Z\\Q")));
    EXPECT_FALSE(file.directory_exists(GResourcePath("A\\B")));
    EXPECT_EQ(getText(file, "Z\\Q\\C\\x,t"), "x");
    EXPECT_TRUE(file.copy_directory(GResourcePath("Copy"), GResourcePath("Z")));
    EXPECT_EQ(getText(file, "Copy\\Q\\y,u"), "y");
    EXPECT_TRUE(file.remove_type(itemName("Copy\\Q\\whatever,u")));
    EXPECT_FALSE(file.exist(itemName("Copy\\Q\\y,u")));
    EXPECT_TRUE(file.remove_directory(GResourcePath("Copy")));
    EXPECT_FALSE(file.remove_directory(GResourcePath()));
    file.set_current_directory(GResourcePath("Z"));
    EXPECT_TRUE(file.create_subdirectory(GResourcePath("New")));
    EXPECT_TRUE(file.directory_exists(GResourcePath("Z\\New")));
    EXPECT_EQ(ArchiveListing(file), "A\\\nZ\\\nZ\\New\\\nZ\\Q\\\nZ\\Q\\y,u=y\nZ\\Q\\C\\\nZ\\Q\\C\\x,t=x\n");
    EXPECT_TRUE(file.empty());
    EXPECT_EQ(ArchiveListing(file), "");
}

TEST(GResourceFile, NoticesNameTheServerAndFollowRenamedDirectories) {
    GResourceFile file("notes.kpk", GIO::ReadWrite);
    GResourceFile other("notes.kpk", GIO::ReadWrite);
    other.set_current_directory(GResourcePath("Old\\Inner"));
    NoticeLog log;
    putText(file, "Old\\Inner\\a,t", "a");
    file.rename(itemName("Old\\Inner\\a,t"), itemName("Old\\Inner\\b,t"));
    file.rename_directory(GResourcePath("Old"), GResourcePath("New"));
    file.remove(itemName("New\\Inner\\b,t"));
    file.empty();
    EXPECT_EQ(log.entries,
              (std::vector<std::string>{"type+ Old\\Inner\\a,t", "put Old\\Inner\\a,t",
                                        "renamed Old\\Inner\\a,t Old\\Inner\\b,t", "dir> Old\\ New\\",
                                        "cd Old\\Inner\\ New\\Inner\\", "removed New\\Inner\\b,t", "emptied "}));
    EXPECT_EQ(other.get_current_directory(), GResourcePath("New\\Inner"));
    for (GResourceFileServer* server : log.servers)
        EXPECT_EQ(server, file.get_server());
}

TEST(GResourceFile, CopiesNoticeTheTypesTheyCreate) {
    GResourceFile file("copies.kpk", GIO::ReadWrite);
    putText(file, "D\\a,t", "a");
    GResourceFile other("copied.kpk", GIO::ReadWrite);
    NoticeLog log;
    file.copy(itemName("D\\a,t"), itemName("D\\b,u"));
    file.copy(itemName("D\\a,t"), itemName("D\\c,u")); // the type is there now
    file.copy_directory(GResourcePath("E"), GResourcePath("D"));
    other.copy_from(file);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"type+ D\\b,u", "copied D\\b,u", "copied D\\c,u", "type+ E\\a,t",
                                                     "copied E\\a,t", "type+ E\\b,u", "copied E\\b,u", "copied E\\c,u",
                                                     "type+ D\\a,t", "copied D\\a,t", "type+ D\\b,u", "copied D\\b,u",
                                                     "copied D\\c,u", "type+ E\\a,t", "copied E\\a,t", "type+ E\\b,u",
                                                     "copied E\\b,u", "copied E\\c,u"}));
}

TEST(GResourceFile, ReadOnlyArchivesChangeNothingAndSayNothing) {
    {
        GResourceFile file("ro.kpk", GIO::ReadWrite);
        putText(file, "a,t", "a");
    }
    const std::string before = readFile("ro.kpk");
    GResourceFile file("ro.kpk", GIO::ReadOnly);
    EXPECT_EQ(file.io_mode(), GIO::ReadOnly);
    NoticeLog log;
    EXPECT_FALSE(file.remove(itemName("a,t")));
    EXPECT_FALSE(putText(file, "b,t", "b"));
    EXPECT_FALSE(file.create_directory(GResourcePath("D")));
    EXPECT_FALSE(file.pack());
    EXPECT_FALSE(file.empty());
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(getText(file, "a,t"), "a");
    file.close();
    EXPECT_EQ(readFile("ro.kpk"), before);
}

TEST(GResourceFile, HandlesByDifferentNamesShareOneServer) {
    std::filesystem::create_directory("sub");
    GResourceFile first("shared.kpk", GIO::ReadWrite);
    GResourceFile second("sub/../shared.kpk", GIO::ReadWrite);
    ASSERT_NE(first.get_server(), nullptr);
    EXPECT_EQ(first.get_server(), second.get_server());
    EXPECT_EQ(GResourceFile::FindServer("./shared.kpk"), first.get_server());
    putText(first, "a,t", "from first");
    first.close();
    EXPECT_EQ(getText(second, "a,t"), "from first");
    EXPECT_TRUE(putText(second, "b,t", "from second"));
    second.close();
    EXPECT_EQ(GResourceFile::FindServer("shared.kpk"), nullptr);
    GResourceFile again("shared.kpk", GIO::ReadOnly);
    EXPECT_EQ(getText(again, "b,t"), "from second");
}

TEST(GResourceFile, PackDropsUnusedDataAndKeepsEveryItem) {
    GResourceFile file("pack.kpk", GIO::ReadWrite);
    const std::string big(20000, 'x');
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 20; ++i) {
            const std::string text = big + std::to_string(round * 100 + i);
            putText(file, ("I\\item" + std::to_string(i) + ",t").c_str(), text.c_str());
            file.flush();
        }
    putText(file, "gone,t", "gone");
    file.remove(itemName("gone,t"));
    const std::string listing = ArchiveListing(file);
    const auto sizeBefore = std::filesystem::file_size("pack.kpk");
    ASSERT_TRUE(file.pack());
    EXPECT_LT(std::filesystem::file_size("pack.kpk"), sizeBefore);
    EXPECT_EQ(ArchiveListing(file), listing);
    EXPECT_TRUE(putText(file, "after,t", "after")); // the server writes on the packed file
    file.close();
    GResourceFile reopened("pack.kpk", GIO::ReadOnly);
    EXPECT_EQ(getText(reopened, "I\\item7,t"), big + "207");
    EXPECT_EQ(getText(reopened, "after,t"), "after");
    EXPECT_EQ(std::filesystem::directory_iterator(".")->path().filename().string().find(".pack-"), std::string::npos);
}

TEST(GResourceFile, PackingAnEmptyArchiveLeavesHeaderRootAndTrailers) {
    { GResourceFile fresh("fresh.kpk", GIO::ReadWrite); }
    GResourceFile file("emptied.kpk", GIO::ReadWrite);
    putText(file, "D\\a,t", "a");
    file.remove_directory(GResourcePath("D"));
    ASSERT_TRUE(file.pack());
    file.close();
    EXPECT_EQ(readFile("emptied.kpk"), readFile("fresh.kpk"));
}

TEST(GResourceFile, AnArchiveBehindAnExecutableIsFoundAndKept) {
    // An executable image of 3 pages, the last holding 0x20 bytes: 2 * 512 + 0x20 bytes.
    std::string executable(2 * 512 + 0x20, '\x90');
    executable.replace(0, 6, std::string("MZ\x20\x00\x03\x00", 6));
    WriteBytes("tool.exe", executable);
    {
        GResourceFile file("tool.exe", GIO::ReadWrite);
        ASSERT_TRUE(file.is_opened());
        EXPECT_EQ(file.get_server()->get_base(), static_cast<long>(executable.size()));
        putText(file, "a,t", "inside");
        putText(file, "b,t", "more");
        file.remove(itemName("b,t"));
        ASSERT_TRUE(file.pack());
    }
    EXPECT_EQ(readFile("tool.exe").substr(0, executable.size()), executable);
    GResourceFile file("tool.exe", GIO::ReadOnly);
    EXPECT_EQ(getText(file, "a,t"), "inside");
}

TEST(GResourceFile, RawDataCopiesAndExtraction) {
    GResourceFile file("raw.kpk", GIO::ReadWrite);
    putText(file, "a,t", "some text to extract");
    GMemoryIO unpacked;
    unpacked.open(0);
    ASSERT_TRUE(file.extract_to(unpacked, itemName("a,t"), true));
    EXPECT_EQ(unpacked.gtell(), file.get_resource_block(itemName("a,t")).unpackedSize);

    // The unpacked object stream stored raw under another name reads as the same object.
    ASSERT_TRUE(file.copy_from(itemName("b,t"), unpacked, 0, unpacked.gtell()));
    EXPECT_EQ(getText(file, "b,t"), "some text to extract");
    EXPECT_FALSE(file.get_resource_block(itemName("b,t")).compressed);

    // A compressed block of the older form has no unpacked size: it cannot be extracted unpacked.
    GMemoryIO stored;
    stored.open(0);
    ASSERT_TRUE(file.extract_to(stored, itemName("a,t"), false));
    GResourceFileBlock oldForm(true);
    ASSERT_TRUE(file.get_server()->copy_from(itemName("c,t"), stored, 0, stored.gtell(), oldForm));
    GMemoryIO target;
    target.open(0);
    EXPECT_FALSE(file.extract_to(target, itemName("c,t"), true));
    EXPECT_EQ(getText(file, "c,t"), "some text to extract");
    EXPECT_FALSE(file.extract_to(target, itemName("none,t"), false));
}

TEST(GResourceFile, CopiesBetweenArchives) {
    GResourceFile source("source.kpk", GIO::ReadWrite);
    putText(source, "D\\a,t", "a");
    putText(source, "D\\E\\b,t", "b");
    GResourceFile target("target.kpk", GIO::ReadWrite);
    ASSERT_TRUE(target.copy_from(GResourcePath("In"), source, GResourcePath("D")));
    EXPECT_EQ(getText(target, "In\\E\\b,t"), "b");
    ASSERT_TRUE(target.copy_from(source));
    EXPECT_EQ(getText(target, "D\\a,t"), "a");
}

TEST(GResourceFile, TheStreamFormReopensTheArchiveButMakesNoFile) {
    GResourceFile file("streamed.kpk", GIO::ReadWrite);
    file.set_current_directory(GResourcePath("Here"));
    mpstream stream;
    stream.writePointer(&file);
    stream.seekg(0, GIO::FromBegin);
    auto* read = stream.readPointer<GResourceFile>();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->get_server(), file.get_server());
    EXPECT_EQ(read->get_current_directory(), GResourcePath("Here"));
    read->destroyThis();

    // The same stream naming a file that is gone leaves the handle detached and makes nothing.
    file.close();
    std::filesystem::rename("streamed.kpk", "moved.kpk");
    stream.seekg(0, GIO::FromBegin);
    read = stream.readPointer<GResourceFile>();
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->is_opened());
    EXPECT_FALSE(std::filesystem::exists("streamed.kpk"));
    read->destroyThis();
}

// A handle read from a stream only reads its file, whatever mode it was stored with: an empty file stays empty
// and an executable stays as it was. The handle's own stream form keeps the stored mode.
TEST(GResourceFile, AHandleReadFromAStreamNeverChangesItsFile) {
    mpstream stream;
    {
        GResourceFile file("named.kpk", GIO::ReadWrite);
        stream.writePointer(&file);
    }
    std::string executable(2 * 512 + 0x20, '\x90');
    executable.replace(0, 6, std::string("MZ\x20\x00\x03\x00", 6));
    for (const std::string& content : {std::string(), executable}) {
        WriteBytes("named.kpk", content);
        stream.seekg(0, GIO::FromBegin);
        auto* read = stream.readPointer<GResourceFile>();
        ASSERT_NE(read, nullptr);
        EXPECT_TRUE(read->is_opened());
        EXPECT_EQ(read->io_mode(), GIO::ReadOnly);
        EXPECT_FALSE(putText(*read, "a,t", "a"));
        mpstream again;
        again.writePointer(read);
        read->destroyThis();
        EXPECT_EQ(readFile("named.kpk"), content);
        // Pointer byte, prefix, class name, version, attached: then the mode.
        const std::string bytes(static_cast<const char*>(again.data()), again.length());
        EXPECT_EQ(bytes.substr(22, 4), std::string("\x03\x00\x00\x00", 4));
    }
}

// A new archive only ever goes behind a file's last byte: a file whose header search stops at data it cannot pass
// (an executable followed by other data, a foreign chunk followed by text) is not an archive and is not written.
TEST(GResourceFile, DataBehindAnExecutableOrAChunkIsNeverWrittenOver) {
    std::string executable(512 + 16, '\x90');
    executable.replace(0, 6, std::string("MZ\x10\x00\x02\x00", 6));
    const std::string chunk = std::string("FBxy\x04\x00\x00\x00", 8) + "abcd";
    for (const std::string& content : {executable + "overlay data that belongs to someone else", chunk + "text text"}) {
        WriteBytes("foreign.bin", content);
        EXPECT_FALSE(GResourceFile("foreign.bin", GIO::ReadWrite).is_opened());
        EXPECT_EQ(readFile("foreign.bin"), content);
    }
}

TEST(GResourceFile, AnArchiveWithoutAReadableTreeKeepsItsBytes) {
    {
        GResourceFile file("broken.kpk", GIO::ReadWrite);
        putText(file, "a,t", "a");
    }
    const std::string bytes = WithEveryTreeBroken(readFile("broken.kpk"));
    WriteBytes("broken.kpk", bytes);
    {
        GResourceFile file("broken.kpk", GIO::ReadWrite);
        ASSERT_TRUE(file.is_opened());
        EXPECT_TRUE(file.get_server()->is_unreadable());
        EXPECT_FALSE(file.pack()); // would drop what may still be mended
    }
    EXPECT_EQ(readFile("broken.kpk"), bytes); // opening wrote nothing
    {
        GResourceFile file("broken.kpk", GIO::ReadWrite);
        EXPECT_EQ(ArchiveListing(file), "");
        EXPECT_TRUE(putText(file, "b,t", "b"));
    }
    // The old bytes are still there for whoever can mend them; the new state follows them.
    EXPECT_EQ(readFile("broken.kpk").substr(0, bytes.size()), bytes);
    GResourceFile file("broken.kpk", GIO::ReadOnly);
    EXPECT_EQ(ArchiveListing(file), "b,t=b\n");
}

// What is written always reads back: paths deeper than the tree reads back at are refused, however they would
// come about.
TEST(GResourceFile, PathsDeeperThanTheReaderTakesAreRefused) {
    GResourcePath deepest;
    for (int i = 0; i < ResourceTree::MaxDepth; ++i)
        deepest += "d";
    GResourcePath tooDeep = deepest;
    tooDeep += "d";
    const GResourceFullName fits(deepest, "t", "a");
    const GResourceFullName below(tooDeep, "t", "a");
    {
        GResourceFile file("deep.kpk", GIO::ReadWrite);
        GArchiveText object("deep");
        EXPECT_TRUE(file.put(&object, fits, false));
        EXPECT_FALSE(file.put(&object, below, false));
        EXPECT_FALSE(file.create_directory(tooDeep));
        EXPECT_FALSE(file.copy(fits, below));
        EXPECT_FALSE(file.rename(fits, below));
        EXPECT_FALSE(file.rename_directory(GResourcePath("d"), GResourcePath("e\\d")));
        EXPECT_FALSE(file.copy_directory(GResourcePath("e\\f"), GResourcePath("d")));
        EXPECT_TRUE(file.flush());
    }
    GResourceFile file("deep.kpk", GIO::ReadOnly);
    EXPECT_FALSE(file.get_server()->is_unreadable());
    EXPECT_EQ(TakeArchiveText(file.get(fits, false)), "deep");
}

// Every item has data of its own: a tree in which two items' blocks overlap is not taken, and the archive opens
// in the state before it.
TEST(GResourceFile, ATreeWhoseItemsShareDataIsNotTaken) {
    {
        GResourceFile file("shared-block.kpk", GIO::ReadWrite);
        putText(file, "a,t", "some text of its own");
        ASSERT_TRUE(file.flush());
        GResourceFileServer& server = *file.get_server();
        const GResourceFileBlock block = file.get_resource_block(itemName("a,t"));
        bool created = false;
        server.find_or_create_item(itemName("b,t"), created).block = block;
        server.mark_as_modified();
        ASSERT_TRUE(file.flush());
    }
    GResourceFile file("shared-block.kpk", GIO::ReadOnly);
    EXPECT_EQ(ArchiveListing(file), "a,t=some text of its own\n");
}

TEST(GResourceFile, AnArchiveOfAnotherFormatVersionIsNeverWritten) {
    std::string other("FBPR\x01\x00\x00\x00", 8);
    other += std::string(100, 'z');
    WriteBytes("other.kpk", other);
    GResourceFile file("other.kpk", GIO::ReadWrite);
    ASSERT_TRUE(file.is_opened());
    EXPECT_FALSE(putText(file, "a,t", "a"));
    file.close();
    EXPECT_EQ(readFile("other.kpk"), other);
}
