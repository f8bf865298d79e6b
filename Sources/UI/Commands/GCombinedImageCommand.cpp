#include "Commands/GCombinedImageCommand.h"

G_IMPLEMENT_ABSTRACT_CLASS(GCombinedImageCommand, GImageCommand)

void GCombinedImageCommand::addCommand(GImageCommand* command) {
    if (command != nullptr)
        m_commands.insert(command);
}

void GCombinedImageCommand::attachedToDocument(GKorvaneDoc* document) {
    GImageCommand::attachedToDocument(document);
    for (int i = 0; i < m_commands.getCount(); ++i)
        m_commands.at(i)->attachedToDocument(document);
}

void GCombinedImageCommand::detachedFromDocument(GKorvaneDoc* document) {
    for (int i = 0; i < m_commands.getCount(); ++i)
        m_commands.at(i)->detachedFromDocument(document);
}

bool GCombinedImageCommand::doit() {
    bool any = false;
    for (int i = 0; i < m_commands.getCount();) {
        if (m_commands.at(i)->doit()) {
            any = true;
            ++i;
        } else {
            m_commands.free(m_commands.at(i));
        }
    }
    return any;
}

void GCombinedImageCommand::undoit() {
    for (int i = m_commands.getCount() - 1; i >= 0; --i)
        m_commands.at(i)->undoit();
    if (getDefaultUndo() != UndoNothing)
        GImageCommand::undoit();
}

void GCombinedImageCommand::redoit() {
    for (int i = 0; i < m_commands.getCount(); ++i)
        m_commands.at(i)->redoit();
}

void GCombinedImageCommand::affectedModels(TGSortedCollection<GCompoundModel>& models) const {
    GImageCommand::affectedModels(models);
    for (int i = 0; i < m_commands.getCount(); ++i)
        m_commands.at(i)->affectedModels(models);
}

std::size_t GCombinedImageCommand::undoMemory() const {
    std::size_t bytes = GImageCommand::undoMemory();
    for (int i = 0; i < m_commands.getCount(); ++i)
        bytes += m_commands.at(i)->undoMemory();
    return bytes;
}
