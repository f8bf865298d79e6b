// The application object without a window: contexts from plug-ins, switching them, keys, DDE strings and files
// moved at start.

#include "Application/GKorvaneApp.h"
#include "Contexts/GSimpleCommandEditorContext.h"
#include "Framework/CCmdUI.h"
#include "Settings/GRegistryDWord.h"
#include "Settings/GRegistryString.h"
#include "Settings/GRegistryVariable.h"
#include "Support/FileContents.h"
#include "UI/Document/DocumentTesting.h"
#include "win/Keyboard.h"
#include "win/Registry.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>

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

namespace {

// Sets string values on a key below the application's key, making it.
void setKey(const char* path, std::initializer_list<std::pair<const char*, const char*>> values) {
    HKEY application = GRegistryVariable::GetAppRegistryKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(application, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    for (const auto& [name, text] : values)
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), std::strlen(text) + 1);
    RegCloseKey(key);
    RegCloseKey(application);
}

} // namespace

TEST_F(AppTest, MenusComeFromTheSettings) {
    loadPlugins();
    setKey("Menus\\Main\\0000", {{"0409", "&File"}, {"0000", "File"}});
    setKey("Menus\\Main\\0000\\0000", {{"Class", "TestToolContext"}});
    setKey("Menus\\Main\\0000\\0001", {{"Separator", "1"}});
    setKey("Menus\\Main\\0000\\0002", {{"Class", "NoSuchClass"}});
    setKey("Menus\\Main\\0001", {{"0000", "Edit"}, {"Section", "Menus\\Edit"}});
    setKey("Menus\\Edit\\0000", {{"Class", "TestFlipCommand"}});
    setKey("Menus\\Empty", {});
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    std::vector<GMenuEntry> menu;
    app->fillMenuFromRegistry(menu, "Menus\\Main");
    unsetenv("LC_ALL");
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].kind, GMenuEntry::Popup);
    EXPECT_EQ(menu[0].text, "&File");
    ASSERT_EQ(menu[0].children.size(), 2u); // the unknown class adds nothing
    EXPECT_EQ(menu[0].children[0].text, "Tool");
    EXPECT_EQ(menu[0].children[0].id, GKorvaneApp::FirstContextCommand);
    EXPECT_EQ(menu[0].children[1].kind, GMenuEntry::Separator);
    EXPECT_EQ(menu[1].text, "Edit"); // no title in the user's language: the neutral one
    ASSERT_EQ(menu[1].children.size(), 1u);
    EXPECT_EQ(menu[1].children[0].text, "Flip");
    std::vector<GMenuEntry> empty;
    app->fillMenuFromRegistry(empty, "Menus\\Empty");
    EXPECT_TRUE(empty.empty());
    // A section that names its own key ends instead of looping.
    setKey("Menus\\Loop\\0000", {{"0000", "Again"}, {"Section", "Menus\\Loop"}});
    std::vector<GMenuEntry> loop;
    app->fillMenuFromRegistry(loop, "Menus\\Loop");
    EXPECT_EQ(loop.size(), 1u);
}
