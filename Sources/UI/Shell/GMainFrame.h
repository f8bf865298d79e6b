#pragma once
// GMainFrame: the main window, of a fixed size that holds the form of the user interface, with the menu bar made
// from the settings.

#include "Threads/GCallbackReason.h"

#include <wx/docview.h>

class GCallbackReceiver;

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

private:
    void send(const GCallbackReason& reason);
};
