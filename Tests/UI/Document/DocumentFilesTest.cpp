// Opening and saving: scenes round trip through the document, a file no scene reader takes leaves the scene as
// it was, and a failed save leaves the file that was there.

#include "Imaging/GDIBImage.h"
#include "Streams/fpstream.h"
#include "Support/FileContents.h"
#include "UI/Document/DocumentTesting.h"
#include "win/Files.h"

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

void writeText(const char* path, const char* text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST_F(DocumentTest, AScenesObjectsComeBackFromItsFile) {
    GCompoundModel* object = addObject(12, 8, {30, 40}, 0xFF102030);
    object->setName("kept");
    ASSERT_TRUE(document->OnSaveDocument("scene.kor"));
    document->OnNewDocument();
    ASSERT_EQ(document->getModel()->getChildCount(), 0);
    ASSERT_TRUE(document->OnOpenDocument("scene.kor"));
    ASSERT_EQ(document->getModel()->getChildCount(), 1);
    EXPECT_EQ(document->getModel()->getChild(0)->getName(), "kept");
    EXPECT_EQ(document->getModel()->getChild(0)->getOrigin().y, 40);
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(document->getUndoStack().empty());
}

TEST_F(DocumentTest, WhatNoSceneReaderTakesLeavesTheSceneAsItWas) {
    GCompoundModel* object = addObject(12, 8, {30, 40});
    MessageBoxAnswers reports(IDOK);
    writeText("notes.kor", "not a scene at all");
    EXPECT_FALSE(document->OnOpenDocument("notes.kor"));
    EXPECT_FALSE(document->OnOpenDocument("absent.kor"));
    std::filesystem::create_directory("folder.kor");
    EXPECT_FALSE(document->OnOpenDocument("folder.kor"));
    EXPECT_EQ(reports.asked.size(), 3u);
    EXPECT_EQ(document->getModel()->getChild(0), object);
    EXPECT_TRUE(document->IsModified());
}

TEST_F(DocumentTest, AFailedSaveLeavesTheFileThatWasThere) {
    addObject(12, 8, {30, 40});
    MessageBoxAnswers reports(IDOK);
    writeText("precious.kor", "the scene of yesterday");
    std::filesystem::permissions("precious.kor", std::filesystem::perms::owner_read);
    std::filesystem::create_directory("locked");
    std::filesystem::copy_file("precious.kor", "locked/precious.kor");
    std::filesystem::permissions("locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool saved = document->OnSaveDocument("locked/precious.kor");
    std::filesystem::permissions("locked", std::filesystem::perms::owner_all);
    if (::geteuid() != 0) { // the superuser writes anywhere
        EXPECT_FALSE(saved);
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(readFile("locked/precious.kor"), "the scene of yesterday");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("locked"), {}), 1); // no temporary left
    }
    // A folder in the way: the rename fails even for the superuser, and the temporary file goes.
    std::filesystem::create_directory("taken.kor");
    writeText("taken.kor/inside", "x");
    EXPECT_FALSE(document->OnSaveDocument("taken.kor"));
    EXPECT_EQ(readFile("taken.kor/inside"), "x");
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().find(".save-"), std::string::npos) << entry.path();
    EXPECT_FALSE(document->OnSaveDocument("picture.unknown"));
    EXPECT_FALSE(std::filesystem::exists("picture.unknown"));
}

TEST_F(DocumentTest, SendMailHandsTheSavedPictureToTheMailProgramOrSaysThereIsNone) {
    addObject(12, 8, {30, 40});
    const std::string path = getenv("PATH");
    std::filesystem::create_directory("mailbin");
    {
        std::ofstream script("mailbin/xdg-email");
        script << "#!/bin/sh\necho \"$@\" > mailed.tmp && mv mailed.tmp mailed.txt\n";
    }
    std::filesystem::permissions("mailbin/xdg-email", std::filesystem::perms::owner_all);
    setenv("PATH", (std::filesystem::absolute("mailbin").string() + ":" + path).c_str(), 1);
    const bool sent = document->OnFileSendMail();
    setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(sent);
    for (int wait = 0; wait < 500 && !std::filesystem::exists("mailed.txt"); ++wait)
        usleep(10000);
    const std::string picture = (std::filesystem::path(GetTempPath()) / "Korvane01.jpg").string();
    EXPECT_EQ(readFile("mailed.txt"), "--attach " + picture + "\n");
    GDIBImage mailed;
    ifpstream stream;
    ASSERT_TRUE(stream.open(picture.c_str(), GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareRead));
    ASSERT_TRUE(GDIBReaderWriter::Read(stream, mailed));
    EXPECT_EQ(mailed.get_width(), GKorvaneDoc::DefaultModelSize.cx);

    // Without a mail program the person is told, and nothing else happens.
    MessageBoxAnswers told(IDOK);
    setenv("PATH", std::filesystem::absolute("nowhere").c_str(), 1);
    EXPECT_FALSE(document->OnFileSendMail());
    setenv("PATH", path.c_str(), 1);
    ASSERT_EQ(told.asked.size(), 1u);
    EXPECT_NE(told.asked[0].find("xdg-email"), std::string::npos);
}
