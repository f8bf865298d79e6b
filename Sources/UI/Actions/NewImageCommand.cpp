#include "Actions/NewImageCommand.h"

#include <wx/app.h>
#include <wx/docview.h>

G_IMPLEMENT_CLASS(NewImageCommand, GOneTimeEditorContext)

void NewImageCommand::performAction() {
    wxTheApp->CallAfter([] {
        if (wxDocManager* manager = wxDocManager::GetDocumentManager())
            manager->CreateNewDocument();
    });
}
