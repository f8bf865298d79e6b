#pragma once
// GKorvaneApp: the application object, one per process. It loads the plug-ins and makes an editor context of every
// class they announce (each with a menu command id), builds menus from the settings, keeps the user's shortcut
// keys, switches the documents' current context, and moves files scheduled for replacement at start.

#include "Application/GMenuEntry.h"
#include "Collections/TGCollection.h"
#include "Contexts/GEditorContext.h"
#include "Framework/GWinApp.h"
#include "Text/GString.h"
#include "Threads/GCallbackReason.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

class CCmdUI;
class GDDEServer;
class GCallbackReceiver;
class GMetaClass;
class GKorvaneDocManager;
class wxAcceleratorEntry;
class wxAcceleratorTable;

class GKorvaneApp : public GWinApp {
public:
    enum ToolTipsType { ToolTipsNone = 0, ToolTipsShort = 1, ToolTipsLong = 2 };
    // Editor contexts answer to the command ids from FirstContextCommand on, in the order they were made.
    static constexpr UINT FirstContextCommand = 0x8003;
    static constexpr UINT LastContextCommand = 0x8403;
    // The framework's menu ids stop below 0x7FFF: windows see the context commands moved down by this much.
    static constexpr UINT ContextMenuIdOffset = 0x2000;
    static int MenuIdOf(UINT command);
    static UINT CommandOf(int menuId);
    // Menu commands of the program beside the framework's own: mailing the picture, and the full-screen switch
    // that stands in for the change of display mode.
    static constexpr int ID_FILE_SEND_MAIL = 0x6500;
    static constexpr int ID_VIEW_FULLSCREEN = 0x6501;
    // Key codes: the virtual key in the low byte, then these modifier bits.
    static constexpr unsigned short KeyShift = 0x100;
    static constexpr unsigned short KeyControl = 0x200;
    static constexpr unsigned short KeyAlt = 0x400;
    static constexpr unsigned short KeyExtended = 0x800;

    // Sent with a DDE command no standard handler took; a receiver that handles it sets `handled`.
    static const GCallbackReason Reason_DDECommand;
    struct DDECommandInfo : GCallbackEvent {
        GKorvaneApp* application;
        const char* command;
        bool handled;
    };
    static void RegisterCallback(GCallbackReceiver& receiver);
    static void UnRegisterCallback(GCallbackReceiver& receiver);

    GKorvaneApp();
    ~GKorvaneApp() override;
    static GKorvaneApp* Get();

    // Start-up: files moved, plug-ins loaded, the document manager and its one template, the main window, the
    // document of the start file (or a new one), the default context.
    bool OnInit() override;
    int OnExit() override;
    // The file the program opens at start (a new scene when empty).
    void setStartFile(const wxString& path) { m_startFile = path; }
    // One program per settings store: a later start hands its file to the running one and ends (OnInit fails,
    // handedOver() tells why).
    void serveOtherStarts(bool on) { m_serveOtherStarts = on; }
    bool handedOver() const { return m_handedOver; }

    const TGCollection<GEditorContext>& contexts() const { return m_contexts; }
    GEditorContext* findContextByName(const char* className) const;
    // From the last context to the first: the one of the class, or the simple-command context of that command.
    GEditorContext* findContextByClass(const GMetaClass* meta) const;
    // The command class of a simple-command context, else the context's own class.
    static const GMetaClass* findClassByContext(const GEditorContext* context);
    // Makes the context of the command id current in every open document; a one-time context leaves the
    // previous one current again.
    void OnEditorContext(UINT id);
    void OnUpdateEditorContext(CCmdUI& ui);
    // The context named by the setting "DefaultContext" ("MoveImageContext" by default).
    void goToDefaultContext();

    // The entries of the menu under the settings key (below the application's key).
    void fillMenuFromRegistry(std::vector<GMenuEntry>& menu, const char* keyPath, int depth = 0) const;

    // Plug-ins: the program's directory, then each "PluginDirs" entry with its subdirectories; the masks of
    // string 14267.
    void getPluginDirectories(std::vector<GString>& directories) const;
    void getPluginMasks(std::vector<GString>& masks) const;
    HMODULE load_external_module(const char* path) override;
    // The contexts a module announces in its string 14269: "{ClassName=menu text|prompt}" groups.
    void collectContextsFromModule(HMODULE module);

    // Shortcut keys per class; the accelerators follow them.
    bool getShortcutKeys(const GMetaClass* meta, std::vector<unsigned short>& keys) const;
    void setShortcutKeys(const GMetaClass* meta, const std::vector<unsigned short>& keys);
    // The usual keys of the application's own actions (Ctrl+Z for Undo ...), for those without keys of their own.
    void setDefaultShortcutKeys();
    // Null while no class has a shortcut.
    const wxAcceleratorTable* getAccelerators();
    // The menu id a key (the framework's key code, and its modifiers) runs; 0 for a key of no context.
    int findAcceleratorCommand(int keyCode, int modifiers) const;
    // "Ctrl+", "Shift+", "Alt+" for the modifier bits, then the key's name.
    static GString GetHotKeyName(unsigned short code);
    GString getHotKeyNameForContext(const GEditorContext* context) const;

    ToolTipsType getToolTipsType() const { return m_toolTips; }
    void setToolTipsType(ToolTipsType type) { m_toolTips = type; }

    // Files: a move scheduled for the next start, and the moves done at start.
    static void moveFileNextStart(const char* from, const char* to);
    static void move_files();
    // `[command("argument"` at the start of a DDE string gives the argument; false otherwise or when it is empty.
    static bool SplitDDECommand(const char* command, const char* dde, GString& argument);
    // "[open("FILE")]" opens the file (asking first about unsaved changes) and brings the window to the front,
    // "[activate()]" only brings it to the front; other commands go to the receivers of Reason_DDECommand.
    bool OnDDECommand(char* command);

private:
    // The keys of the contexts, made when first asked for and again after the shortcuts or contexts change.
    const std::vector<wxAcceleratorEntry>& acceleratorEntries() const;
    void shortcutsChanged();
    void appendContext(GEditorContext* context, const GString& contextString);

    TGCollection<GEditorContext> m_contexts{0, 16, true};
    std::map<const GMetaClass*, std::vector<unsigned short>> m_shortcuts;
    mutable std::optional<std::vector<wxAcceleratorEntry>> m_acceleratorEntries;
    std::unique_ptr<wxAcceleratorTable> m_accelerators;
    std::unique_ptr<GKorvaneDocManager> m_documents;
    std::unique_ptr<GDDEServer> m_dde;
    bool m_serveOtherStarts = false;
    bool m_handedOver = false;
    wxString m_startFile;
    ToolTipsType m_toolTips = ToolTipsLong;
};
