#pragma once
// GMainFrame: the main window, of a fixed size that holds the form of the user interface, with the menu bar made
// from the settings. Menu commands of the editor contexts go to the application, whose contexts also say how
// their items look; the zoom commands go to the scene view; the file commands to the framework.

#include "Threads/GCallbackReason.h"
#include "win/Win32Types.h"

#include <wx/docview.h>

class GCallbackReceiver;
class GEditorContext;
class GKorvaneView;

class GMainFrame : public wxDocParentFrame {
public:
    static const GCallbackReason Reason_Create;
    static const GCallbackReason Reason_Destroy;
    struct FrameInfo : GCallbackEvent {
        GMainFrame* frame;
    };
    static void RegisterCallback(GCallbackReceiver& receiver);
    static void UnRegisterCallback(GCallbackReceiver& receiver);

    explicit GMainFrame(wxDocManager* manager);
    ~GMainFrame() override;

    // The application's context of a context command id; null outside the range or past the contexts.
    static GEditorContext* findContextByID(UINT id);
    // The tool tip of a command: none, a context's menu text, or its prompt with its shortcut key, as the
    // application's tool-tip setting says.
    static wxString getToolTipText(UINT id);
    // The prompt of a command, the menu items' help: a context's prompt, or the framework's for its own commands.
    static wxString getMessageString(UINT id);
    // A popup menu from a menu key of the settings; the caller owns it.
    static wxMenu* buildMenu(const char* keyPath);
    // Full screen stands in for the switch of the display mode, which this platform leaves to the user.
    void changeDisplaySettings(bool on);

private:
    void send(const GCallbackReason& reason);
    void onContextCommand(wxCommandEvent& event);
    void onUpdateContextCommand(wxUpdateUIEvent& event);
    void onZoom(wxCommandEvent& event);
    void onUpdateZoom(wxUpdateUIEvent& event);
    void onFullScreen(wxCommandEvent& event);
    // Keys are translated by the application's shortcuts before the window with the focus sees them.
    void onKey(wxKeyEvent& event);
};
