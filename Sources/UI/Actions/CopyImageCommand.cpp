#include "Actions/CopyImageCommand.h"

#include "Clipboard/GKorvaneDataSource.h"
#include "Commands/DeleteImageCommand.h"
#include "Framework/CCmdUI.h"
#include "Model/GCompoundModel.h"

#include <wx/clipbrd.h>

G_IMPLEMENT_CLASS(CopyImageCommand, GOneTimeEditorContext)
G_IMPLEMENT_CLASS(CutImageCommand, CopyImageCommand)

bool CopyImageCommand::copySelection() {
    GCompoundModel* selected = getSelectedModel();
    if (selected == nullptr)
        return false;
    auto* source = new GKorvaneDataSource;
    if (selected->getParent() == nullptr) {
        auto* background = new GCompoundModel;
        background->assignAttributes(*selected);
        source->putModel(GCompoundModel::TypeBackground, background, true);
    } else {
        source->putModel(GCompoundModel::TypeObject, *selected);
    }
    if (!wxTheClipboard->Open()) {
        delete source;
        return false;
    }
    const bool set = wxTheClipboard->SetData(source); // the clipboard owns the source either way
    wxTheClipboard->Close();
    return set;
}

void CopyImageCommand::performAction() {
    copySelection();
}

void CopyImageCommand::onUpdateUI(CCmdUI& ui) {
    ui.Enable(getSelectedModel() != nullptr);
}

void CutImageCommand::performAction() {
    GCompoundModel* selected = getSelectedModel();
    if (selected != nullptr && selected->getParent() != nullptr && copySelection())
        applyCommand(new DeleteImageCommand(selected));
}

void CutImageCommand::onUpdateUI(CCmdUI& ui) {
    const GCompoundModel* selected = getSelectedModel();
    ui.Enable(selected != nullptr && selected->getParent() != nullptr);
}
