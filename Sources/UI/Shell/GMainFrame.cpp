#include "Shell/GMainFrame.h"

#include "Application/GKorvaneApp.h"
#include "Document/GKorvaneDoc.h"
#include "Framework/GEventCmdUI.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Threads/GCallbackSender.h"
#include "Views/GKorvaneView.h"

#include <wx/accel.h>
#include <wx/menu.h>
#include <wx/stockitem.h>
#include <wx/textentry.h>

const GCallbackReason GMainFrame::Reason_Create;
const GCallbackReason GMainFrame::Reason_Destroy;

namespace {

void addEntries(wxMenu& menu, const std::vector<GMenuEntry>& entries);

// A standard command's text with the framework's usual key for it (Ctrl+O for Open ...), unless it names one.
wxString withStockAccelerator(const GMenuEntry& entry) {
    wxString text = wxString::FromUTF8(entry.text);
    const wxAcceleratorEntry key = wxGetStockAccelerator(static_cast<int>(entry.id));
    if (!text.Contains('\t') && key.IsOk())
        text += '\t' + key.ToString();
    return text;
}

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
            menu.Append(GKorvaneApp::MenuIdOf(entry.id), wxString::FromUTF8(entry.text),
                        GMainFrame::getMessageString(entry.id), entry.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
            break;
        case GMenuEntry::Command:
            menu.Append(static_cast<int>(entry.id), withStockAccelerator(entry),
                        GMainFrame::getMessageString(entry.id));
            break;
        case GMenuEntry::Popup:
            menu.AppendSubMenu(menuOf(entry.children), wxString::FromUTF8(entry.text));
            break;
        }
}

// A shortcut key typed into a field: the field's own editing for the editing keys (nothing for other keys with
// Ctrl or Alt, so that the menus' keys do not act either); false for a plain key, which the field takes itself.
bool editField(wxTextEntry& field, const wxKeyEvent& key) {
    if ((key.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) == 0)
        return false;
    if (key.GetModifiers() == wxMOD_CONTROL)
        switch (key.GetKeyCode()) {
        case 'Z':
            field.Undo();
            break;
        case 'Y':
            field.Redo();
            break;
        case 'X':
            field.Cut();
            break;
        case 'C':
            field.Copy();
            break;
        case 'V':
            field.Paste();
            break;
        case 'A':
            field.SelectAll();
            break;
        default:
            break;
        }
    return true;
}

std::vector<GMenuEntry> entriesOf(const char* keyPath) {
    std::vector<GMenuEntry> entries;
    if (const GKorvaneApp* app = GKorvaneApp::Get())
        app->fillMenuFromRegistry(entries, keyPath);
    return entries;
}

const int FirstContext = GKorvaneApp::MenuIdOf(GKorvaneApp::FirstContextCommand);
const int LastContext = GKorvaneApp::MenuIdOf(GKorvaneApp::LastContextCommand);

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
    auto* bar = new wxMenuBar;
    for (const GMenuEntry& entry : entriesOf("Menus\\Main"))
        if (entry.kind == GMenuEntry::Popup)
            bar->Append(menuOf(entry.children), wxString::FromUTF8(entry.text));
    SetMenuBar(bar);
    // The form keeps its size in device-independent pixels, so it grows with the screen's scale.
    const SIZE form = GKorvaneUserInterface::FormSize;
    SetClientSize(FromDIP(wxSize(form.cx, form.cy)));
    SetMinSize(GetSize());
    SetMaxSize(GetSize());
    Bind(wxEVT_MENU, &GMainFrame::onContextCommand, this, FirstContext, LastContext);
    Bind(wxEVT_BUTTON, &GMainFrame::onContextCommand, this, FirstContext, LastContext);
    Bind(wxEVT_UPDATE_UI, &GMainFrame::onUpdateContextCommand, this, FirstContext, LastContext);
    for (const int id : {wxID_ZOOM_IN, wxID_ZOOM_OUT, wxID_ZOOM_100, wxID_ZOOM_FIT}) {
        Bind(wxEVT_MENU, &GMainFrame::onZoom, this, id);
        Bind(wxEVT_UPDATE_UI, &GMainFrame::onUpdateZoom, this, id);
    }
    Bind(wxEVT_MENU, &GMainFrame::onFullScreen, this, GKorvaneApp::ID_VIEW_FULLSCREEN);
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            if (GKorvaneDoc* document = GKorvaneDoc::GetActiveDocument())
                document->OnFileSendMail();
        },
        GKorvaneApp::ID_FILE_SEND_MAIL);
    Bind(wxEVT_CHAR_HOOK, &GMainFrame::onKey, this);
    send(Reason_Create);
}

GMainFrame::~GMainFrame() {
    send(Reason_Destroy);
}

GEditorContext* GMainFrame::findContextByID(UINT id) {
    const GKorvaneApp* app = GKorvaneApp::Get();
    if (app == nullptr || id < GKorvaneApp::FirstContextCommand || id > GKorvaneApp::LastContextCommand)
        return nullptr;
    const int index = static_cast<int>(id - GKorvaneApp::FirstContextCommand);
    return index < app->contexts().getCount() ? app->contexts().at(index) : nullptr;
}

wxString GMainFrame::getToolTipText(UINT id) {
    const GKorvaneApp* app = GKorvaneApp::Get();
    const GEditorContext* context = findContextByID(id);
    if (app == nullptr || context == nullptr || app->getToolTipsType() == GKorvaneApp::ToolTipsNone)
        return {};
    if (app->getToolTipsType() == GKorvaneApp::ToolTipsShort)
        return wxStripMenuCodes(wxString::FromUTF8(context->getContextString(GEditorContext::MenuText)));
    GString text = context->getContextString(GEditorContext::Prompt);
    if (const GString key = app->getHotKeyNameForContext(context); !key.isEmpty())
        text += " - " + key;
    return wxString::FromUTF8(text);
}

wxString GMainFrame::getMessageString(UINT id) {
    if (const GEditorContext* context = findContextByID(id))
        return wxString::FromUTF8(context->getContextString(GEditorContext::Prompt));
    return wxGetStockHelpString(static_cast<int>(id));
}

wxMenu* GMainFrame::buildMenu(const char* keyPath) {
    return menuOf(entriesOf(keyPath));
}

void GMainFrame::send(const GCallbackReason& reason) {
    FrameInfo info{{reason}, this};
    ClassCallbackSender<GMainFrame>().send(info);
}

void GMainFrame::onContextCommand(wxCommandEvent& event) {
    if (GKorvaneApp* app = GKorvaneApp::Get())
        app->OnEditorContext(GKorvaneApp::CommandOf(event.GetId()));
}

void GMainFrame::onUpdateContextCommand(wxUpdateUIEvent& event) {
    GKorvaneApp* app = GKorvaneApp::Get();
    const UINT command = GKorvaneApp::CommandOf(event.GetId());
    if (app == nullptr || findContextByID(command) == nullptr)
        return;
    // The item is in the menu bar or in the popup menu the event comes from.
    const auto* popup = dynamic_cast<wxMenu*>(event.GetEventObject());
    const wxMenuItem* item = popup != nullptr          ? popup->FindItem(event.GetId())
                             : GetMenuBar() != nullptr ? GetMenuBar()->FindItem(event.GetId())
                                                       : nullptr;
    GEventCmdUI ui(event, command, item != nullptr, item != nullptr && item->IsCheckable());
    app->OnUpdateEditorContext(ui);
}

void GMainFrame::onZoom(wxCommandEvent& event) {
    GKorvaneView* view = GKorvaneDoc::GetActiveView();
    if (view == nullptr)
        return;
    switch (event.GetId()) {
    case wxID_ZOOM_IN:
        view->zoomBy(2, 1);
        break;
    case wxID_ZOOM_OUT:
        view->zoomBy(1, 2);
        break;
    case wxID_ZOOM_100:
        view->fitImage(false);
        view->setZoom(GViewZoom());
        break;
    default:
        view->fitImage(!view->geometry().fitImage());
        break;
    }
}

void GMainFrame::onUpdateZoom(wxUpdateUIEvent& event) {
    const GKorvaneView* view = GKorvaneDoc::GetActiveView();
    event.Enable(view != nullptr);
}

void GMainFrame::onFullScreen(wxCommandEvent&) {
    changeDisplaySettings(!IsFullScreen());
}

void GMainFrame::changeDisplaySettings(bool on) {
    ShowFullScreen(on, wxFULLSCREEN_NOBORDER | wxFULLSCREEN_NOCAPTION);
}

void GMainFrame::onKey(wxKeyEvent& event) {
    // A shortcut runs its context, once; a field that takes typing keeps its keys.
    const GKorvaneApp* app = GKorvaneApp::Get();
    const int command = app != nullptr ? app->findAcceleratorCommand(event.GetKeyCode(), event.GetModifiers()) : 0;
    if (command == 0) {
        event.Skip();
        return;
    }
    if (auto* field = dynamic_cast<wxTextEntry*>(FindFocus())) {
        if (!editField(*field, event))
            event.Skip();
        return;
    }
    wxCommandEvent run(wxEVT_MENU, command);
    run.SetEventObject(this);
    GetEventHandler()->ProcessEvent(run);
}
