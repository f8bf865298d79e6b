#include "Actions/PasteImageCommand.h"

#include "Clipboard/GClipboardOffer.h"
#include "Clipboard/GKorvaneClipboard.h"
#include "Clipboard/GModelInsertion.h"
#include "Document/GKorvaneDocHelper.h"
#include "Framework/CCmdUI.h"

G_IMPLEMENT_CLASS(PasteImageCommand, GOneTimeEditorContext)

void PasteImageCommand::performAction() {
    if (getDocument() != nullptr)
        GModelInsertion::Insert(GClipboardOffer(), GKorvaneDocHelper::ViewCentre(), false);
}

void PasteImageCommand::onUpdateUI(CCmdUI& ui) {
    ui.Enable(getDocument() != nullptr && GKorvaneClipboard::Available());
}
