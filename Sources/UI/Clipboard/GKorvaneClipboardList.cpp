#include "Clipboard/GKorvaneClipboardList.h"

GKorvaneClipboardList::~GKorvaneClipboardList() {
    for (const Item& item : m_items)
        if (item.owned && item.model != nullptr)
            item.model->destroyThis();
}

void GKorvaneClipboardList::putModel(GCompoundModel::Type type, const GCompoundModel& model) {
    putModel(type, new GCompoundModel(model), true);
}

void GKorvaneClipboardList::putModel(GCompoundModel::Type type, GCompoundModel* model, bool owned) {
    m_items.push_back({model, type, owned});
}
