// GKorvaneDoc: Send mail. The composed picture goes into the temporary folder as "Korvane01.jpg" and is handed to
// the desktop's mail program (xdg-email) as an attachment of a new message; the program's answer is not awaited.

#include "Document/GKorvaneDoc.h"

#include "Document/GKorvaneDocManager.h"
#include "win/Files.h"
#include "win/MessageBox.h"
#include "win/Processes.h"

#include <filesystem>
#include <string>

bool GKorvaneDoc::OnFileSendMail() {
    if (m_model == nullptr)
        return false;
    const std::string picture = (std::filesystem::path(GetTempPath()) / "Korvane01.jpg").string();
    ImageReaderWriterList formats;
    GKorvaneDocManager::GetReaderWriterList(false, GKorvaneDocManager::FileTypeImages, formats);
    if (!SaveModel(picture.c_str(), m_model, &formats, nullptr))
        return false;
    std::string commandLine = "xdg-email --attach \"" + picture + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        MessageBoxA(nullptr,
                    "No mail program could be started (xdg-email, of the package xdg-utils). The picture was saved "
                    "as " +
                        GString(picture.c_str()) + ".",
                    "Korvane", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}
