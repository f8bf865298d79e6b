#include "Commands/ReplaceBackgroundCommand.h"

#include "Commands/DeleteImageCommand.h"
#include "Model/GCompoundModel.h"
#include "Text/GString.h"
#include "Text/UIStringTable.h"
#include "win/MessageBox.h"

#include <algorithm>
#include <vector>

G_IMPLEMENT_ABSTRACT_CLASS(ReplaceBackgroundCommand, GCombinedImageCommand)

ReplaceBackgroundCommand::ReplaceBackgroundCommand(GCompoundModel* background) : m_background(background) {
    setDefaultUndo(UndoWholeModel);
}

ReplaceBackgroundCommand::~ReplaceBackgroundCommand() {
    if (m_background != nullptr)
        m_background->destroyThis();
}

bool ReplaceBackgroundCommand::OutsideOf(const GCompoundModel& child, const RECT& bounds) {
    RECT global;
    child.getGlobalBoundingRect(global, GCompoundModel::WithoutEffects);
    const RECT inside{std::max(global.left, bounds.left), std::max(global.top, bounds.top),
                      std::min(global.right, bounds.right), std::min(global.bottom, bounds.bottom)};
    if (inside.left >= inside.right || inside.top >= inside.bottom)
        return true;
    const GIPLMask& mask = child.getImage().mask();
    if (mask.get_image() == nullptr)
        return false;
    const GPoint origin = child.getGlobalOrigin(GCompoundModel::WithoutEffects);
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
            if (mask.getBit(x - origin.x, y - origin.y))
                return false;
    return true;
}

void ReplaceBackgroundCommand::attachedToDocument(GKorvaneDoc* document) {
    GCompoundModel* root = getModel();
    if (root == nullptr || m_background == nullptr)
        return;
    RECT bounds;
    m_background->getBoundingRect(bounds, GCompoundModel::WithoutEffects);
    std::vector<GCompoundModel*> outside;
    for (int i = root->getChildCount() - 1; i >= 0; --i)
        if (OutsideOf(*root->getChild(i), bounds))
            outside.push_back(root->getChild(i));
    if (!outside.empty() && MessageBoxA(nullptr, GString(GetUIModule(), IDS_SMALLER_BACKGROUND), "Korvane",
                                        MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
        return;
    for (GCompoundModel* child : outside)
        addCommand(new DeleteImageCommand(child));
    GCombinedImageCommand::attachedToDocument(document);
}

bool ReplaceBackgroundCommand::doit() {
    GCompoundModel* root = getModel();
    if (getSavedModel() == nullptr || root == nullptr)
        return false;
    GCombinedImageCommand::doit();
    root->invalidate();
    GSprite& image = root->getModifiableImage();
    image = m_background->getCombinedImage();
    if (image.mask().get_image() != nullptr)
        iplSet(image.mask().get_image(), 1);
    for (int y = 0; y < image.get_height(); ++y) {
        DWORD* row = image.get_line_address_to_modify(y);
        for (int x = 0; x < image.get_width(); ++x)
            row[x] |= 0xFF000000u;
    }
    root->invalidate();
    root->resetUnmodifiedImage();
    return true;
}

std::size_t ReplaceBackgroundCommand::undoMemory() const {
    return GCombinedImageCommand::undoMemory() + (m_background != nullptr ? PixelBytes(*m_background) : 0);
}
