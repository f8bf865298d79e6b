// Opening and saving: scenes round trip through the document, a file no scene reader takes leaves the scene as
// it was, and a failed save leaves the file that was there.

#include "Support/FileContents.h"
#include "UI/Document/DocumentTesting.h"

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
