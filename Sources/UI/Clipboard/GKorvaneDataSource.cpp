#include "Clipboard/GKorvaneDataSource.h"

void GKorvaneDataSource::getInMemoryModels(GKorvaneClipboardList& list) const {
    for (std::size_t i = 0; i < m_models.size(); ++i)
        list.putModel(m_models[i].type, m_models[i].model, false);
}
