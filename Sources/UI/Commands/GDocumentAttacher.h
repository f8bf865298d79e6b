#pragma once
// GDocumentAttacher: the base of commands and editor contexts, which act on the models of the active document.

#include "Classes/GObject.h"

class GCompoundModel;
class GKorvaneDoc;

class GDocumentAttacher : public GObject {
    G_CLASS(GDocumentAttacher)

    // The document's working model when one is set, else its selected model; null without a document.
    virtual GCompoundModel* getSelectedModel() const;
    virtual GKorvaneDoc* getDocument() const;
    virtual void attachedToDocument(GKorvaneDoc* document);
    virtual void detachedFromDocument(GKorvaneDoc* document);

    // The document's root model, or null.
    GCompoundModel* getModel() const;
    // The document's updateAll().
    void update() const;
};
