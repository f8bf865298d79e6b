#include "Shell/GMainFrame.h"

#include "Application/GKorvaneApp.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Threads/GCallbackSender.h"

#include <wx/menu.h>

const GCallbackReason GMainFrame::Reason_Create;
const GCallbackReason GMainFrame::Reason_Destroy;

namespace {

void addEntries(wxMenu& menu, const std::vector<GMenuEntry>& entries);

wxMenu* menuOf(const std::vector<GMenuEntry>& entries) {
    auto* menu = new wxMenu;
    addEntries(*menu, entries);
    return menu;
}

void addEntries(wxMenu& menu, const std::vector<GMenuEntry>& entries) {
    for (const GMenuEntry& entry : entries)
        switch (entry.kind) {
        case GMenuEntry::Separator:
            menu.AppendSeparator();
            break;
        case GMenuEntry::Item:
            menu.AppendRadioItem(static_cast<int>(entry.id), wxString::FromUTF8(entry.text));
            break;
        case GMenuEntry::Popup:
            menu.AppendSubMenu(menuOf(entry.children), wxString::FromUTF8(entry.text));
            break;
        }
}

} // namespace

void GMainFrame::RegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GMainFrame>().attachReceiver(&receiver);
}

void GMainFrame::UnRegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GMainFrame>().detachReceiver(&receiver);
}

GMainFrame::GMainFrame(wxDocManager* manager)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, "Korvane", wxDefaultPosition, wxDefaultSize,
                       wxDEFAULT_FRAME_STYLE & ~(wxMAXIMIZE_BOX | wxRESIZE_BORDER)) {
    std::vector<GMenuEntry> entries;
    if (const GKorvaneApp* app = GKorvaneApp::Get())
        app->fillMenuFromRegistry(entries, "Menus\\Main");
    auto* bar = new wxMenuBar;
    for (const GMenuEntry& entry : entries)
        if (entry.kind == GMenuEntry::Popup)
            bar->Append(menuOf(entry.children), wxString::FromUTF8(entry.text));
    SetMenuBar(bar);
    const SIZE form = GKorvaneUserInterface::FormSize;
    SetClientSize(wxSize(form.cx, form.cy));
    SetMinSize(GetSize());
    SetMaxSize(GetSize());
    send(Reason_Create);
}

GMainFrame::~GMainFrame() {
    send(Reason_Destroy);
}

void GMainFrame::send(const GCallbackReason& reason) {
    FrameInfo info{{reason}, this};
    ClassCallbackSender<GMainFrame>().send(info);
}
