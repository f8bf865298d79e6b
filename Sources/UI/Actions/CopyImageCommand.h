#pragma once
// CopyImageCommand and CutImageCommand: menu actions that put the selected object on the clipboard (the
// background, its own picture without the objects, when nothing else is selected); Cut then deletes the object,
// as one undoable step.

#include "Contexts/GOneTimeEditorContext.h"

class CopyImageCommand : public GOneTimeEditorContext {
    G_CLASS(CopyImageCommand)

    void performAction() override;
    void onUpdateUI(CCmdUI& ui) override;

protected:
    // False when there is nothing to copy or the clipboard cannot be had.
    bool copySelection();
};

class CutImageCommand : public CopyImageCommand {
    G_CLASS(CutImageCommand)

    void performAction() override;
    // Enabled while an object, not the background, is selected.
    void onUpdateUI(CCmdUI& ui) override;
};
