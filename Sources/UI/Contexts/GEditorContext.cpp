#include "Contexts/GEditorContext.h"

#include "Commands/GImageCommand.h"
#include "Document/GKorvaneDoc.h"
#include "Framework/CCmdUI.h"
#include "Threads/GCallbackSender.h"
#include "Views/GKorvaneView.h"

#include <cstring>

G_IMPLEMENT_CLASS(GEditorContext, GDocumentAttacher)

const GCallbackReason GEditorContext::Reason_ContextModified;

void GEditorContext::RegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GEditorContext>().attachReceiver(&receiver);
}

void GEditorContext::UnRegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GEditorContext>().detachReceiver(&receiver);
}

void GEditorContext::attachedToDocument(GKorvaneDoc*) {
    onSelectedModelChanged();
}

GString GEditorContext::getContextString(ContextStringIndex index) const {
    const char* text = m_contextString;
    const char* bar = std::strchr(text, '|');
    if (index == MenuText)
        return bar != nullptr ? GString(text, static_cast<unsigned>(bar - text)) : m_contextString;
    return bar != nullptr ? GString(bar + 1) : GString();
}

void GEditorContext::getMenuName(GString& name) const {
    name = getContextString(MenuText);
}

void GEditorContext::getPrompt(GString& prompt) const {
    prompt = getContextString(Prompt);
}

void GEditorContext::applyLastCommand(bool update) {
    GKorvaneDoc* document = getDocument();
    if (document == nullptr)
        return;
    document->applyLastCommand();
    if (update)
        document->updateAll();
}

void GEditorContext::onUpdateUI(CCmdUI& ui) {
    GKorvaneDoc* document = getDocument();
    ui.SetRadio(document != nullptr && document->getContext() == this);
}

void GEditorContext::onDraw(HDC dc) {
    if (GKorvaneDoc* document = getDocument())
        document->drawModel(dc, nullptr);
}

HCURSOR GEditorContext::onSetCursor(POINT) {
    return nullptr;
}

void GEditorContext::onLButtonDown(UINT, POINT) {}

void GEditorContext::onLButtonUp(UINT, POINT) {}

void GEditorContext::onLButtonDblClk(UINT, POINT) {}

void GEditorContext::onMouseMove(UINT, POINT) {}

void GEditorContext::onMouseEnter(POINT) {}

void GEditorContext::onMouseLeave() {}

bool GEditorContext::applyCommand(GImageCommand* command) {
    GKorvaneDoc* document = getDocument();
    if (document == nullptr) {
        if (command != nullptr)
            command->destroyThis();
        return false;
    }
    return document->applyCommand(command);
}

GImageCommand* GEditorContext::getLastCommandByClass(const GMetaClass* cls, bool sameModel) const {
    GKorvaneDoc* document = getDocument();
    GImageCommand* last = document != nullptr ? document->getLastCommand() : nullptr;
    if (last == nullptr || &last->getMetaClass() != cls)
        return nullptr;
    return !sameModel || last->getSelectedModel() == getSelectedModel() ? last : nullptr;
}

GImageCommand* GEditorContext::getCurrentCommandByClass(const GMetaClass* cls, bool sameModel) {
    if (GImageCommand* last = getLastCommandByClass(cls, sameModel))
        return last;
    GKorvaneDoc* document = getDocument();
    GImageCommand* command = document != nullptr ? BuildObjectAs<GImageCommand>(cls) : nullptr;
    if (command == nullptr)
        return nullptr;
    document->attachCommand(command);
    return command;
}

void GEditorContext::contextModified() {
    ContextInfo info{{Reason_ContextModified}, this};
    ClassCallbackSender<GEditorContext>().send(info);
}

GKorvaneView* GEditorContext::getView() const {
    return GKorvaneDoc::GetActiveView();
}

void GEditorContext::setCapture() {
    if (GKorvaneView* view = getView(); view != nullptr && !view->HasCapture())
        view->CaptureMouse();
}

void GEditorContext::releaseCapture() {
    if (GKorvaneView* view = getView(); view != nullptr && view->HasCapture())
        view->ReleaseMouse();
}
