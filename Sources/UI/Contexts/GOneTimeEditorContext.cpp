#include "Contexts/GOneTimeEditorContext.h"

#include "Document/GKorvaneDoc.h"

G_IMPLEMENT_ABSTRACT_CLASS(GOneTimeEditorContext, GEditorContext)

void GOneTimeEditorContext::attachedToDocument(GKorvaneDoc* document) {
    GEditorContext::attachedToDocument(document);
    if (document != nullptr)
        document->setContext(nullptr);
    performAction();
}
