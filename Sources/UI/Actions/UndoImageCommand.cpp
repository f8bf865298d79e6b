#include "Actions/UndoImageCommand.h"

#include "Document/GKorvaneDoc.h"
#include "Framework/CCmdUI.h"

G_IMPLEMENT_CLASS(UndoImageCommand, GOneTimeEditorContext)
G_IMPLEMENT_CLASS(RedoImageCommand, GOneTimeEditorContext)

void UndoImageCommand::performAction() {
    if (GKorvaneDoc* document = getDocument())
        document->undo();
}

void UndoImageCommand::onUpdateUI(CCmdUI& ui) {
    const GKorvaneDoc* document = getDocument();
    ui.Enable(document != nullptr && document->canUndo());
}

void RedoImageCommand::performAction() {
    if (GKorvaneDoc* document = getDocument())
        document->redo();
}

void RedoImageCommand::onUpdateUI(CCmdUI& ui) {
    const GKorvaneDoc* document = getDocument();
    ui.Enable(document != nullptr && document->canRedo());
}
