#include "Contexts/GSimpleCommandEditorContext.h"

#include "Commands/GImageCommand.h"
#include "Document/GKorvaneDoc.h"

G_IMPLEMENT_CLASS(GSimpleCommandEditorContext, GOneTimeEditorContext)

void GSimpleCommandEditorContext::performAction() {
    if (GImageCommand* command = createCommand())
        applyCommand(command);
}

GImageCommand* GSimpleCommandEditorContext::createCommand() {
    GRTTIObject* built = m_commandClass != nullptr ? m_commandClass->buildObject() : nullptr;
    if (built == nullptr)
        return nullptr;
    if (auto* command = static_cast<GImageCommand*>(built->cast_to_(typeid(GImageCommand))))
        return command;
    m_commandClass->destroyObject(built);
    return nullptr;
}
