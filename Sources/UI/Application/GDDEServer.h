#pragma once
// GDDEServer: what Windows' DDE does for the program: a second start of the program hands its file (as the DDE
// command "[open("FILE")]") to the one already running for the same settings store, which opens it and comes to
// the front; any other command goes to GKorvaneApp::OnDDECommand. It runs on the framework's IPC, over a local
// socket that only this user can reach.

#include <wx/ipc.h>

#include <memory>

class wxSingleInstanceChecker;

class GDDEServer : public wxServer {
public:
    GDDEServer();
    ~GDDEServer() override;

    // Starts serving unless another program serves this settings store; false when one does.
    bool start();
    // Sends the command to the program that serves this settings store; false when none answers.
    static bool SendToRunning(const wxString& command);
    // The DDE command that opens a file.
    static wxString OpenCommand(const wxString& path);

    wxConnectionBase* OnAcceptConnection(const wxString& topic) override;

private:
    std::unique_ptr<wxSingleInstanceChecker> m_instance;
};
