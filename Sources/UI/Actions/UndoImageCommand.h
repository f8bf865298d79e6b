#pragma once
// UndoImageCommand and RedoImageCommand: menu actions that take back the last change, or do again the last one
// taken back. Each is enabled while its stack holds a step.

#include "Contexts/GOneTimeEditorContext.h"

class UndoImageCommand : public GOneTimeEditorContext {
    G_CLASS(UndoImageCommand)

    void performAction() override;
    void onUpdateUI(CCmdUI& ui) override;
};

class RedoImageCommand : public GOneTimeEditorContext {
    G_CLASS(RedoImageCommand)

    void performAction() override;
    void onUpdateUI(CCmdUI& ui) override;
};
