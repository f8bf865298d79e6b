// The application object without a window: contexts from plug-ins, switching them, keys, DDE strings and files
// moved at start.

#include "Application/GKorvaneApp.h"
#include "Contexts/GSimpleCommandEditorContext.h"
#include "Framework/CCmdUI.h"
#include "Settings/GRegistryDWord.h"
#include "Settings/GRegistryString.h"
#include "Support/FileContents.h"
#include "UI/Document/DocumentTesting.h"
#include "win/Keyboard.h"

#include <filesystem>
#include <fstream>

namespace {

// The application object of a test; the framework's own stand-in application comes back afterwards.
class AppTest : public DocumentTest {
protected:
    AppTest() : m_previous(wxApp::GetInstance()), app(new GKorvaneApp) {}
    ~AppTest() override {
        // What the plug-ins made goes before they are unloaded with the application.
        document->setContext(nullptr);
        document->getUndoStack().clear();
        document->getRedoStack().clear();
        delete app;
        wxApp::SetInstance(m_previous);
    }
    // The two test plug-ins, first before second.
    void loadPlugins() { app->load_external_modules({TEST_PLUGINS}, {"Contexts*.korplug"}); }

private:
    wxAppConsole* m_previous;

protected:
    GKorvaneApp* app;
};

} // namespace

TEST_F(AppTest, PluginsAnnounceContextsOncePerClass) {
    loadPlugins();
    ASSERT_EQ(app->contexts().getCount(), 3);
    EXPECT_EQ(GKorvaneApp::Get(), app);
    GEditorContext* tool = app->findContextByName("TestToolContext");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->getContextString(GEditorContext::MenuText), "Tool"); // the first announcement
    EXPECT_EQ(tool->getCommandID(), GKorvaneApp::FirstContextCommand);
    GEditorContext* flip = app->findContextByName("TestFlipCommand");
    ASSERT_NE(flip, nullptr);
    EXPECT_EQ(&flip->getMetaClass(), &GSimpleCommandEditorContext::metaclass_);
    EXPECT_EQ(GKorvaneApp::findClassByContext(flip), GMetaClass::FindByName("TestFlipCommand"));
    EXPECT_EQ(flip->getCommandID(), GKorvaneApp::FirstContextCommand + 1);
    GEditorContext* other = app->findContextByName("TestOtherContext");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->getContextString(GEditorContext::MenuText), "");
    EXPECT_EQ(app->findContextByName("NoSuchClass"), nullptr);
    EXPECT_EQ(app->findContextByClass(nullptr), nullptr);
}

TEST_F(AppTest, AOneTimeContextLeavesThePreviousContextCurrent) {
    loadPlugins();
    GEditorContext* tool = app->findContextByName("TestToolContext");
    app->OnEditorContext(tool->getCommandID());
    EXPECT_EQ(document->getContext(), tool);
    const int before = document->getUndoStack().size();
    app->OnEditorContext(app->findContextByName("TestFlipCommand")->getCommandID());
    EXPECT_EQ(document->getUndoStack().size(), before + 1); // the command ran once
    EXPECT_EQ(document->getContext(), tool);
    CCmdUI item(tool->getCommandID());
    item.m_menuItem = true;
    app->setShortcutKeys(GMetaClass::FindByName("TestToolContext"), {GKorvaneApp::KeyControl | 'T'});
    app->OnUpdateEditorContext(item);
    EXPECT_EQ(item.checked(), 1);
    EXPECT_EQ(item.text(), "Tool\tCtrl+T");
    ASSERT_NE(app->getAccelerators(), nullptr);
    EXPECT_TRUE(app->getAccelerators()->IsOk());
}

TEST(GKorvaneAppStatics, HotKeyNames) {
    EXPECT_EQ(GKorvaneApp::GetHotKeyName(0x0241), "Ctrl+A");
    EXPECT_EQ(GKorvaneApp::GetHotKeyName(GKorvaneApp::KeyShift | GKorvaneApp::KeyAlt | (VK_F1 + 4)), "Shift+Alt+F5");
    EXPECT_EQ(GKorvaneApp::GetHotKeyName(GKorvaneApp::KeyExtended | VK_DELETE), "Delete");
}

TEST(GKorvaneAppStatics, DDECommandsGiveTheirArgument) {
    GString argument = "kept";
    EXPECT_FALSE(GKorvaneApp::SplitDDECommand("kortheme", "[open(\"a.kor\")]", argument));
    EXPECT_EQ(argument, "kept");
    EXPECT_FALSE(GKorvaneApp::SplitDDECommand("kortheme", "[kortheme(\"\")]", argument));
    EXPECT_TRUE(GKorvaneApp::SplitDDECommand("kortheme", "[kortheme(\"/themes/sea.ktp\")]", argument));
    EXPECT_EQ(argument, "/themes/sea.ktp");
}

TEST(GKorvaneAppStatics, FilesScheduledForTheNextStartMoveThen) {
    std::ofstream("new-one") << "new";
    std::ofstream("old-one") << "old";
    std::ofstream("old-two") << "old two";
    GKorvaneApp::moveFileNextStart("new-one", "old-one");
    GKorvaneApp::moveFileNextStart("absent", "old-two");
    EXPECT_EQ(static_cast<DWORD>(GRegistryDWord(nullptr, "FilesToMove", "Count", 0)), 2u);
    GKorvaneApp::move_files();
    EXPECT_EQ(readFile("old-one"), "new");
    EXPECT_FALSE(std::filesystem::exists("new-one"));
    EXPECT_EQ(readFile("old-two"), "old two");
    EXPECT_EQ(static_cast<DWORD>(GRegistryDWord(nullptr, "FilesToMove", "Count", 0)), 0u);
}
