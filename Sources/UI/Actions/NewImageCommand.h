#pragma once
// NewImageCommand: the menu action that starts a new scene. The framework closes the present one first, asking
// to save unsaved changes.

#include "Contexts/GOneTimeEditorContext.h"

class NewImageCommand : public GOneTimeEditorContext {
    G_CLASS(NewImageCommand)

    // The new document is made once the present action has returned: the document that runs it goes away.
    void performAction() override;
};
