#pragma once
// PasteImageCommand: the menu action that inserts what the clipboard holds (models, or a picture from another
// program) into the scene, centred in the view.

#include "Contexts/GOneTimeEditorContext.h"

class PasteImageCommand : public GOneTimeEditorContext {
    G_CLASS(PasteImageCommand)

    void performAction() override;
    // Enabled while the clipboard holds something to insert.
    void onUpdateUI(CCmdUI& ui) override;
};
