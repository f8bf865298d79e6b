#include "Commands/DeleteImageCommand.h"

#include "Document/GKorvaneDoc.h"
#include "Model/GCompoundModel.h"

G_IMPLEMENT_CLASS(DeleteImageCommand, AddObjectCommand)

bool DeleteImageCommand::doit() {
    if (m_target == nullptr)
        m_target = getSelectedModel();
    if (m_target == nullptr || m_target->getParent() == nullptr)
        return false;
    m_index = m_target->getIndexInParent();
    redoit();
    return true;
}

void DeleteImageCommand::redoit() {
    const bool selected = m_target == getSelectedModel();
    m_previousSelection = getSelectedModel();
    m_object = m_target;
    m_parent = m_target->getParent();
    removeObject();
    if (selected)
        getDocument()->setSelectedModel(nullptr);
}

void DeleteImageCommand::undoit() {
    insertObject();
    getDocument()->setSelectedModel(m_previousSelection);
}
