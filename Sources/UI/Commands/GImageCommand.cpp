#include "Commands/GImageCommand.h"

#include "Document/GKorvaneDoc.h"
#include "Model/GCompoundModel.h"

G_IMPLEMENT_ABSTRACT_CLASS(GImageCommand, GDocumentAttacher)

namespace {

std::size_t spriteBytes(const GSprite& image) {
    return static_cast<std::size_t>(image.get_width()) * static_cast<std::size_t>(image.get_height()) * 4 +
           static_cast<std::size_t>(image.get_width() + 7) / 8 * static_cast<std::size_t>(image.get_height());
}

} // namespace

std::size_t GImageCommand::PixelBytes(const GCompoundModel& model) {
    const GCompoundModel* unmodified = model.getUnmodifiedModel();
    std::size_t bytes =
        spriteBytes(model.getImage()) + (unmodified != &model ? spriteBytes(unmodified->getImage()) : 0);
    for (int i = 0; i < model.getChildCount(); ++i)
        bytes += PixelBytes(*model.getChild(i));
    return bytes;
}

GImageCommand::~GImageCommand() {
    if (m_saved != nullptr)
        m_saved->destroyThis();
}

void GImageCommand::attachedToDocument(GKorvaneDoc*) {
    m_selected = GDocumentAttacher::getSelectedModel();
    if (const GCompoundModel* source = undoTarget())
        takeSnapshot(*source);
}

GCompoundModel* GImageCommand::undoTarget() const {
    switch (m_defaultUndo) {
    case UndoSelectedModel:
        return getSelectedModel();
    case UndoWholeModel:
        return getModel();
    default:
        return nullptr;
    }
}

void GImageCommand::takeSnapshot(const GCompoundModel& source) {
    if (m_saved == nullptr)
        m_saved = new GCompoundModel(0, 0);
    m_saved->assignState(source);
}

void GImageCommand::restoreSnapshot(GCompoundModel& model) const {
    model.invalidateParent();
    model.assignAttributes(*m_saved);
    model.invalidate();
}

void GImageCommand::undoit() {
    GCompoundModel* model = undoTarget();
    if (model != nullptr && m_saved != nullptr)
        restoreSnapshot(*model);
}

void GImageCommand::affectedModels(TGSortedCollection<GCompoundModel>& models) const {
    if (GCompoundModel* model = undoTarget())
        models.insert(model);
}

std::size_t GImageCommand::undoMemory() const {
    return m_saved != nullptr ? PixelBytes(*m_saved) : 0;
}
