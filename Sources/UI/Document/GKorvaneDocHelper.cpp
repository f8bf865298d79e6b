#include "Document/GKorvaneDocHelper.h"

#include "Commands/AddObjectCommand.h"
#include "Commands/ReplaceBackgroundCommand.h"
#include "Document/GKorvaneDoc.h"
#include "Sound/GPlayApplicationEventSound.h"
#include "Views/GKorvaneView.h"

namespace {

// The model's own image becomes its composed image and its children go.
void flatten(GCompoundModel& model) {
    if (model.getChildCount() == 0)
        return;
    const GSprite composed = model.getCombinedImage();
    model.deleteAllChilds();
    model.getModifiableImage() = composed;
    model.invalidate();
}

} // namespace

void GKorvaneDocHelper::AddModelByType(GCompoundModel::Type type, GCompoundModel* model) {
    if (model == nullptr)
        return;
    const bool viewed = GKorvaneDoc::GetActiveView() != nullptr;
    AddModelByType(type, model, viewed ? ViewCentre() : POINT{model->get_width() / 2, model->get_height() / 2});
}

POINT GKorvaneDocHelper::ViewCentre() {
    const GKorvaneView* view = GKorvaneDoc::GetActiveView();
    if (view == nullptr)
        return {0, 0};
    const wxSize client = view->GetClientSize();
    POINT centre{client.x / 2, client.y / 2};
    view->DPtoLP(centre);
    return centre;
}

void GKorvaneDocHelper::AddModelByType(GCompoundModel::Type type, GCompoundModel* model, POINT point) {
    GKorvaneDoc* document = GKorvaneDoc::GetActiveDocument();
    if (model == nullptr || document == nullptr || type == GCompoundModel::TypeUnknown) {
        if (model != nullptr)
            model->destroyThis();
        return;
    }
    GPlayApplicationEventSound("Korvane_ObjectDropped");
    switch (type) {
    case GCompoundModel::TypeScene:
        document->setModel(model);
        break;
    case GCompoundModel::TypeBackground:
        document->applyCommand(new ReplaceBackgroundCommand(model));
        break;
    default:
        flatten(*model);
        model->setOrigin(POINT{point.x - model->get_width() / 2, point.y - model->get_height() / 2});
        document->applyCommand(new AddObjectCommand(model));
        break;
    }
}
