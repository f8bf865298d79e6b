#pragma once
// GKorvaneDataSource: a data source with a list of its own: the models put into it are offered as live models of
// this process.

#include "Clipboard/GKorvaneBaseDataSource.h"

class GKorvaneDataSource : public GKorvaneBaseDataSource {
public:
    // An owned copy.
    void putModel(GCompoundModel::Type type, const GCompoundModel& model) { m_models.putModel(type, model); }
    void putModel(GCompoundModel::Type type, GCompoundModel* model, bool owned) {
        m_models.putModel(type, model, owned);
    }
    void getInMemoryModels(GKorvaneClipboardList& list) const override;

private:
    GKorvaneClipboardList m_models;
};
