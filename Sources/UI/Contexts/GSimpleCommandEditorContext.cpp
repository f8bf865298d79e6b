#include "Contexts/GSimpleCommandEditorContext.h"

#include "Commands/GImageCommand.h"
#include "Document/GKorvaneDoc.h"

G_IMPLEMENT_CLASS(GSimpleCommandEditorContext, GOneTimeEditorContext)

void GSimpleCommandEditorContext::performAction() {
    if (GImageCommand* command = createCommand())
        applyCommand(command);
}

GImageCommand* GSimpleCommandEditorContext::createCommand() {
    return BuildObjectAs<GImageCommand>(m_commandClass);
}
