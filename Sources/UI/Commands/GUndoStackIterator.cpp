#include "Commands/GUndoStackIterator.h"

#include "Commands/GImageCommandStack.h"
#include "Document/GKorvaneDoc.h"

namespace {

GImageCommandStack* activeUndoStack() {
    GKorvaneDoc* document = GKorvaneDoc::GetActiveDocument();
    return document != nullptr ? &document->getUndoStack() : nullptr;
}

} // namespace

GUndoStackIterator::GUndoStackIterator(const GImageCommand& start)
    : m_stack(activeUndoStack()), m_class(&start.getMetaClass()), m_start(&start) {
    advance();
}

GUndoStackIterator::GUndoStackIterator(const GMetaClass* cls, const GCompoundModel& model)
    : m_stack(activeUndoStack()), m_class(cls), m_model(&model) {
    advance();
}

GUndoStackIterator::operator bool() const {
    return m_stack != nullptr && m_position >= 0 && m_position < m_stack->size();
}

GImageCommand* GUndoStackIterator::command() const {
    return *this ? (*m_stack)[m_position] : nullptr;
}

void GUndoStackIterator::advance() {
    if (m_stack == nullptr)
        return;
    m_models.GCollection::empty();
    if (m_start != nullptr)
        m_start->affectedModels(m_models);
    else
        m_models.insert(const_cast<GCompoundModel*>(m_model));
    for (++m_position; m_position < m_stack->size(); ++m_position) {
        const GImageCommand* command = (*m_stack)[m_position];
        if (command == m_start)
            continue;
        TGSortedCollection<GCompoundModel> changed(0, 4, false);
        command->affectedModels(changed);
        int ofInterest = 0;
        for (int i = 0; i < changed.getCount(); ++i)
            ofInterest += m_models.index_of(changed.at(i)) >= 0 ? 1 : 0;
        if (ofInterest == 0)
            continue;
        if (ofInterest < changed.getCount() || !command->getMetaClass().isKindOf(m_class))
            m_position = m_stack->size(); // another model changed, or a command of another class: stop
        return;
    }
}
