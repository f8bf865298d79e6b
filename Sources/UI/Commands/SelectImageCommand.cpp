#include "Commands/SelectImageCommand.h"

#include "Document/GKorvaneDoc.h"
#include "Model/GCompoundModel.h"

G_IMPLEMENT_ABSTRACT_CLASS(SelectImageCommand, GImageCommand)

namespace {

constexpr int BringToTop = -2;
constexpr int KeepIndex = -1;

} // namespace

SelectImageCommand::SelectImageCommand(GCompoundModel* model, bool bringToTop)
    : GImageCommand(UndoNothing), m_target{model, bringToTop ? BringToTop : KeepIndex} {}

bool SelectImageCommand::doit() {
    GCompoundModel* model = m_target.model;
    GCompoundModel* parent = model != nullptr ? model->getParent() : nullptr;
    if (parent == nullptr)
        m_target.index = -1;
    else
        m_target.index = m_target.index == BringToTop ? parent->getChildCount() - 1 : model->getIndexInParent();
    redoit();
    return true;
}

void SelectImageCommand::redoit() {
    const ObjectZPosition selection = getSelectionInfo();
    ApplyZPosition(m_previous);
    m_previous = GetZPosition(m_target.model);
    ApplyZPosition(m_target);
    if (GKorvaneDoc* document = getDocument())
        document->setSelectedModel(m_target.model);
    m_target = selection;
}

void SelectImageCommand::affectedModels(TGSortedCollection<GCompoundModel>& models) const {
    GCompoundModel* parent = m_target.model != nullptr ? m_target.model->getParent() : nullptr;
    if (GCompoundModel* model = parent != nullptr ? parent : getModel())
        models.insert(model);
}

SelectImageCommand::ObjectZPosition SelectImageCommand::getSelectionInfo() const {
    GKorvaneDoc* document = getDocument();
    return GetZPosition(document != nullptr ? document->getSelectedModel() : nullptr);
}

SelectImageCommand::ObjectZPosition SelectImageCommand::GetZPosition(GCompoundModel* model) {
    return {model, model != nullptr ? model->getIndexInParent() : -1};
}

void SelectImageCommand::ApplyZPosition(const ObjectZPosition& position) {
    GCompoundModel* model = position.model;
    if (model == nullptr || position.index < 0 || model->getParent() == nullptr)
        return;
    model->getParent()->rearrangeChild(model, position.index);
}
