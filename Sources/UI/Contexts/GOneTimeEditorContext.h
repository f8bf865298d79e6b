#pragma once
// GOneTimeEditorContext: a menu action. Chosen, it acts at once and does not stay current.

#include "Contexts/GEditorContext.h"

class GOneTimeEditorContext : public GEditorContext {
    G_CLASS(GOneTimeEditorContext)

    // Leaves the document without a context, then acts.
    void attachedToDocument(GKorvaneDoc* document) override;
    virtual void performAction() = 0;
};
