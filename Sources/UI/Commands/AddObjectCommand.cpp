#include "Commands/AddObjectCommand.h"

#include "Document/GKorvaneDoc.h"
#include "Model/GCompoundModel.h"

G_IMPLEMENT_CLASS(AddObjectCommand, GImageCommand)

AddObjectCommand::AddObjectCommand(GCompoundModel* object)
    : GImageCommand(UndoNothing), m_object(object), m_ownsObject(object != nullptr) {}

AddObjectCommand::~AddObjectCommand() {
    destroyOwnedObject();
}

void AddObjectCommand::set_object(GCompoundModel* object) {
    if (object == m_object)
        return;
    destroyOwnedObject();
    m_object = object;
    m_ownsObject = object != nullptr;
}

void AddObjectCommand::destroyOwnedObject() {
    if (m_ownsObject && m_object != nullptr)
        m_object->destroyThis();
}

bool AddObjectCommand::doit() {
    if (m_object == nullptr || getModel() == nullptr)
        return false;
    redoit();
    return true;
}

void AddObjectCommand::redoit() {
    m_previousSelection = getSelectedModel();
    insertObject();
}

void AddObjectCommand::undoit() {
    removeObject();
    getDocument()->setSelectedModel(m_previousSelection);
}

void AddObjectCommand::insertObject() {
    GCompoundModel* parent = m_parent != nullptr ? m_parent : getModel();
    const int index = m_index < 0 || m_index > parent->getChildCount() ? parent->getChildCount() : m_index;
    parent->addChildAt(index, m_object);
    m_ownsObject = false;
    if (m_selectObject)
        getDocument()->setSelectedModel(m_object);
}

void AddObjectCommand::removeObject() {
    if (GCompoundModel* parent = m_object->getParent())
        parent->removeChild(m_object);
    m_object->releaseCaches();
    m_ownsObject = true;
}

void AddObjectCommand::affectedModels(TGSortedCollection<GCompoundModel>& models) const {
    if (GCompoundModel* root = getModel())
        models.insert(root);
}

std::size_t AddObjectCommand::undoMemory() const {
    return m_ownsObject && m_object != nullptr ? PixelBytes(*m_object) : 0;
}
