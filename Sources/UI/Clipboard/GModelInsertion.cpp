#include "Clipboard/GModelInsertion.h"

#include "Clipboard/GKorvaneDataObjectIterator.h"
#include "Document/GKorvaneDocHelper.h"
#include "Shell/GSelectObjectTypeDialog.h"

int GModelInsertion::Insert(const GDataOffer& data, POINT point, bool moving) {
    int inserted = 0;
    for (GKorvaneDataObjectIterator objects(data); objects; ++objects) {
        if (moving && objects.inTheSameProcess())
            continue;
        GCompoundModel::Type type = objects.type();
        if (type == GCompoundModel::TypeUnknown &&
            (type = GSelectObjectTypeDialog::Ask(GCompoundModel::TypeObject)) == GCompoundModel::TypeUnknown)
            continue;
        GCompoundModel* model = objects.detachedModel();
        if (model == nullptr)
            continue;
        if (type != GCompoundModel::TypeScene && model->isBackground())
            type = GCompoundModel::TypeBackground;
        GKorvaneDocHelper::AddModelByType(type, model, point);
        ++inserted;
    }
    return inserted;
}
