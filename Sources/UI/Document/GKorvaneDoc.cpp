// GKorvaneDoc: construction, the model, the selection, the context and the notices.

#include "Document/GKorvaneDoc.h"

#include "Commands/SelectImageCommand.h"
#include "Contexts/GEditorContext.h"
#include "Model/GCompoundModel.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Threads/GCallbackSender.h"

G_IMPLEMENT_CLASS(GKorvaneDoc, GObject)
wxIMPLEMENT_DYNAMIC_CLASS(GKorvaneDoc, wxDocument);

const GCallbackReason GKorvaneDoc::Reason_SelectedModelChanged;
const GCallbackReason GKorvaneDoc::Reason_ContextChanged;
const GCallbackReason GKorvaneDoc::Reason_ModelLoaded;
const GCallbackReason GKorvaneDoc::Reason_ModelModified;

void GKorvaneDoc::RegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GKorvaneDoc>().attachReceiver(&receiver);
}

void GKorvaneDoc::UnRegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GKorvaneDoc>().detachReceiver(&receiver);
}

GKorvaneDoc::GKorvaneDoc() {
    GCompoundModel::RegisterCallback(*this);
}

GKorvaneDoc::~GKorvaneDoc() {
    GCompoundModel::UnRegisterCallback(*this);
    detachContext();
    m_undoStack.clear();
    m_redoStack.clear();
    if (m_model != nullptr)
        m_model->destroyThis();
}

GKorvaneDoc* GKorvaneDoc::GetActiveDocument() {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (manager == nullptr)
        return nullptr;
    wxDocument* document = manager->GetCurrentDocument();
    if (document == nullptr && !manager->GetDocuments().empty())
        document = dynamic_cast<wxDocument*>(manager->GetDocuments().front());
    return dynamic_cast<GKorvaneDoc*>(document);
}

GKorvaneView* GKorvaneDoc::GetActiveView() {
    const GKorvaneDoc* document = GetActiveDocument();
    return document != nullptr ? document->getActiveView() : nullptr;
}

GKorvaneView* GKorvaneDoc::getActiveView() const {
    const auto* face = dynamic_cast<GKorvaneUserInterface*>(GetFirstView());
    return face != nullptr ? face->getMainView() : nullptr;
}

GCompoundModel* GKorvaneDoc::getSelectedModel() const {
    GCompoundModel* selected = m_selectedModel.get();
    return selected != nullptr && selected->getRoot() == m_model ? selected : m_model;
}

void GKorvaneDoc::setModel(GCompoundModel* model) {
    DeleteContents();
    m_model = model;
    if (m_model != nullptr) {
        m_model->setName("");
        m_model->attached(true);
    }
    m_selectedModel = nullptr;
    m_workingModel = nullptr;
    markSaved();
    attachContext();
    m_offscreen.resize(0, 0);
    m_invalid.clear();
    send(Reason_ModelLoaded);
}

void GKorvaneDoc::setSelectedModel(GCompoundModel* model) {
    GCompoundModel* previous = m_selectedModel.get();
    if (model == previous)
        return;
    if (previous != nullptr)
        previous->invalidateParent();
    m_selectedModel = model;
    if (model != nullptr)
        model->invalidateParent();
    if (GEditorContext* context = getContext())
        context->onSelectedModelChanged();
    SelectionInfo info{{{Reason_SelectedModelChanged}, this}, previous, model};
    ClassCallbackSender<GKorvaneDoc>().send(info);
}

void GKorvaneDoc::selectModelUnderCursor(POINT point, bool bringToTop) {
    if (m_model == nullptr)
        return;
    GCompoundModel* hit = m_model->findImageUnderCursor(GPoint(point.x, point.y));
    if (hit == nullptr)
        hit = m_model;
    if (hit != getSelectedModel())
        applyCommand(new SelectImageCommand(hit, bringToTop && !hit->locked()));
}

void GKorvaneDoc::setContext(GEditorContext* context) {
    detachContext();
    m_context = context;
    attachContext();
    send(Reason_ContextChanged);
}

void GKorvaneDoc::detachContext() {
    if (m_context != nullptr && m_contextAttached) {
        m_contextAttached = false;
        m_context->detachedFromDocument(this);
    }
}

void GKorvaneDoc::attachContext() {
    if (m_context != nullptr && !m_contextAttached) {
        m_contextAttached = true;
        m_context->attachedToDocument(this);
    }
}

void GKorvaneDoc::send(const GCallbackReason& reason) {
    DocumentInfo info{{reason}, this};
    ClassCallbackSender<GKorvaneDoc>().send(info);
}

void GKorvaneDoc::callbackReceived(GCallbackEvent& event) {
    if (event.reason != GCompoundModel::Reason_ModelInvalidated)
        return;
    auto& info = static_cast<GCompoundModel::InvalidatedInfo&>(event);
    if (m_model != nullptr && info.model->getRoot() == m_model)
        modelInvalidated(info.model, info.rect);
}
