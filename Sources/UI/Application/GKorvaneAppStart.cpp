// GKorvaneApp: start-up and exit.

#include "Application/GKorvaneApp.h"

#include "Application/GDDEServer.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "Document/GKorvaneDocTemplate.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Shell/GMainFrame.h"
#include "Sound/GDesktopSoundPlayer.h"
#include "Text/UIStringTable.h"

#include <wx/image.h>

bool GKorvaneApp::OnInit() {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
    if (m_serveOtherStarts) {
        m_dde = std::make_unique<GDDEServer>();
        if (!m_dde->start()) {
            m_handedOver = GDDEServer::SendToRunning(m_startFile.empty() ? wxString("[activate()]")
                                                                         : GDDEServer::OpenCommand(m_startFile));
            m_dde.reset();
            if (m_handedOver)
                return false;
        }
    }
    InstallMessageBoxes();
    GDesktopSoundPlayer::Install();
    move_files();
    collectContextsFromModule(GetUIModule());
    std::vector<GString> directories;
    std::vector<GString> masks;
    getPluginDirectories(directories);
    getPluginMasks(masks);
    load_external_modules(directories, masks);
    setDefaultShortcutKeys();
    m_documents = std::make_unique<GKorvaneDocManager>();
    m_documents->SetMaxDocsOpen(1);
    new GKorvaneDocTemplate(m_documents.get(), wxCLASSINFO(GKorvaneDoc), wxCLASSINFO(GKorvaneUserInterface));
    auto* frame = new GMainFrame(m_documents.get());
    SetTopWindow(frame);
    const wxString file = m_startFile;
    wxDocument* document =
        file.empty() ? m_documents->CreateNewDocument() : m_documents->CreateDocument(file, wxDOC_SILENT);
    if (document == nullptr) {
        frame->Destroy();
        return false;
    }
    goToDefaultContext();
    frame->Show();
    return true;
}

int GKorvaneApp::OnExit() {
    // The documents go before the contexts they hold, and both before the plug-ins that made them.
    m_dde.reset();
    m_documents.reset();
    m_contexts.GCollection::empty();
    shortcutsChanged();
    return GWinApp::OnExit();
}
