// GKorvaneApp: the contexts and the switching between them.

#include "Application/GKorvaneApp.h"

#include "Application/GDDEServer.h"
#include "Contexts/GSimpleCommandEditorContext.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "Framework/CCmdUI.h"
#include "Settings/GRegistryString.h"
#include "Threads/GCallbackSender.h"

#include <wx/accel.h>

const GCallbackReason GKorvaneApp::Reason_DDECommand;

void GKorvaneApp::RegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GKorvaneApp>().attachReceiver(&receiver);
}

void GKorvaneApp::UnRegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GKorvaneApp>().detachReceiver(&receiver);
}

GKorvaneApp::GKorvaneApp() = default;

GKorvaneApp::~GKorvaneApp() = default;

GKorvaneApp* GKorvaneApp::Get() {
    return dynamic_cast<GKorvaneApp*>(wxApp::GetInstance());
}

int GKorvaneApp::MenuIdOf(UINT command) {
    const bool context = command >= FirstContextCommand && command <= LastContextCommand;
    return static_cast<int>(context ? command - ContextMenuIdOffset : command);
}

UINT GKorvaneApp::CommandOf(int menuId) {
    const auto id = static_cast<UINT>(menuId);
    const bool context =
        id >= FirstContextCommand - ContextMenuIdOffset && id <= LastContextCommand - ContextMenuIdOffset;
    return context ? id + ContextMenuIdOffset : id;
}

GEditorContext* GKorvaneApp::findContextByName(const char* className) const {
    return findContextByClass(GMetaClass::FindByName(className));
}

GEditorContext* GKorvaneApp::findContextByClass(const GMetaClass* meta) const {
    if (meta == nullptr)
        return nullptr;
    for (int i = m_contexts.getCount() - 1; i >= 0; --i) {
        GEditorContext* context = m_contexts.at(i);
        if (&context->getMetaClass() == meta || findClassByContext(context) == meta)
            return context;
    }
    return nullptr;
}

const GMetaClass* GKorvaneApp::findClassByContext(const GEditorContext* context) {
    if (context == nullptr)
        return nullptr;
    if (&context->getMetaClass() == &GSimpleCommandEditorContext::metaclass_)
        return static_cast<const GSimpleCommandEditorContext*>(context)->getCommandClass();
    return &context->getMetaClass();
}

void GKorvaneApp::appendContext(GEditorContext* context, const GString& contextString) {
    context->setContextString(contextString);
    context->setCommandID(static_cast<int>(FirstContextCommand) + m_contexts.getCount());
    m_contexts.insert(context);
    shortcutsChanged();
}

void GKorvaneApp::OnEditorContext(UINT id) {
    const int index = static_cast<int>(id) - static_cast<int>(FirstContextCommand);
    if (index < 0 || index >= m_contexts.getCount())
        return;
    GEditorContext* context = m_contexts.at(index);
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (manager == nullptr)
        return;
    for (wxDocument* open : manager->GetDocumentsVector())
        if (auto* document = dynamic_cast<GKorvaneDoc*>(open)) {
            GEditorContext* previous = document->getContext();
            document->setContext(context);
            if (document->getContext() == nullptr) // a one-time context acted and left
                document->setContext(previous);
        }
}

void GKorvaneApp::OnUpdateEditorContext(CCmdUI& ui) {
    const int index = static_cast<int>(ui.m_nID) - static_cast<int>(FirstContextCommand);
    if (index < 0 || index >= m_contexts.getCount())
        return;
    GEditorContext* context = m_contexts.at(index);
    context->onUpdateUI(ui);
    if (ui.m_menuItem) {
        const GString hotKey = getHotKeyNameForContext(context);
        GString text = context->getContextString(GEditorContext::MenuText);
        if (!hotKey.isEmpty())
            text += "\t" + hotKey;
        ui.SetText(text);
    }
}

void GKorvaneApp::goToDefaultContext() {
    GRegistryString name(nullptr, "", "DefaultContext", "MoveImageContext");
    if (GEditorContext* context = findContextByName(name))
        OnEditorContext(context->getCommandID());
}
