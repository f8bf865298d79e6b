#include "Commands/GDocumentAttacher.h"

#include "Document/GKorvaneDoc.h"

G_IMPLEMENT_CLASS(GDocumentAttacher, GObject)

GCompoundModel* GDocumentAttacher::getSelectedModel() const {
    GKorvaneDoc* document = getDocument();
    if (document == nullptr)
        return nullptr;
    GCompoundModel* working = document->getWorkingModel();
    return working != nullptr ? working : document->getSelectedModel();
}

GKorvaneDoc* GDocumentAttacher::getDocument() const {
    return GKorvaneDoc::GetActiveDocument();
}

void GDocumentAttacher::attachedToDocument(GKorvaneDoc*) {}

void GDocumentAttacher::detachedFromDocument(GKorvaneDoc*) {}

GCompoundModel* GDocumentAttacher::getModel() const {
    GKorvaneDoc* document = getDocument();
    return document != nullptr ? document->getModel() : nullptr;
}

void GDocumentAttacher::update() const {
    if (GKorvaneDoc* document = getDocument())
        document->updateAll();
}
