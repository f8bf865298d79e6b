#include "Application/GDDEServer.h"

#include "Application/GKorvaneApp.h"
#include "win/RegistryStore.h"

#include <wx/filename.h>
#include <wx/snglinst.h>
#include <wx/stdpaths.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr const char* Topic = "System";

// The name shared by the programs of one settings store: the socket beside the user's runtime files.
wxString serviceName() {
    const std::size_t store = std::hash<std::string>{}(RegistryStorePath());
    const wxString folder = wxStandardPaths::Get().GetUserDir(wxStandardPaths::Dir_Cache);
    return wxFileName(folder, wxString::Format("korvane-%zx.dde", store)).GetFullPath();
}

class DDEConnection : public wxConnection {
public:
    bool OnExec(const wxString& topic, const wxString& data) override {
        GKorvaneApp* app = GKorvaneApp::Get();
        if (app == nullptr || topic != Topic)
            return false;
        std::string command(data.utf8_str());
        return app->OnDDECommand(command.data());
    }
};

} // namespace

GDDEServer::GDDEServer() = default;

GDDEServer::~GDDEServer() = default;

bool GDDEServer::start() {
    const wxString name = serviceName();
    m_instance =
        std::make_unique<wxSingleInstanceChecker>(wxFileName(name).GetFullName() + ".lock", wxFileName(name).GetPath());
    if (m_instance->IsAnotherRunning())
        return false;
    std::error_code ignored; // a socket left by a program that ended without closing it
    std::filesystem::remove(std::string(name.utf8_str()), ignored);
    Create(name);
    return true;
}

bool GDDEServer::SendToRunning(const wxString& command) {
    wxClient client;
    std::unique_ptr<wxConnectionBase> connection(client.MakeConnection("localhost", serviceName(), Topic));
    if (!connection)
        return false;
    const bool done = connection->Execute(command);
    connection->Disconnect();
    return done;
}

wxString GDDEServer::OpenCommand(const wxString& path) {
    return "[open(\"" + wxFileName(path).GetAbsolutePath() + "\")]";
}

wxConnectionBase* GDDEServer::OnAcceptConnection(const wxString& topic) {
    return topic == Topic ? new DDEConnection : nullptr;
}
