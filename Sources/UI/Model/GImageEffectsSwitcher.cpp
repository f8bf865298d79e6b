#include "Model/GImageEffectsSwitcher.h"

#include "Model/GCompoundModel.h"

void GImageEffectsSwitcher::removeEffects() {
    if (m_model == nullptr || m_removed)
        return;
    m_removed = true;
    turnEffects(false);
}

void GImageEffectsSwitcher::restoreEffects() {
    if (m_model != nullptr && m_removed)
        turnEffects(true);
    m_removed = false;
}

// The model is invalidated before and after, its own composed image and its area in its parent, since the
// effects may change both.
void GImageEffectsSwitcher::turnEffects(bool on) {
    m_model->invalidate();
    if (!on)
        m_saved.clear();
    for (int i = 0; i < m_model->getEffectCount(); ++i) {
        GImageEffect* effect = m_model->getEffect(i);
        if (on) {
            if (static_cast<std::size_t>(i) < m_saved.size())
                effect->setState(m_saved[static_cast<std::size_t>(i)]);
        } else {
            m_saved.push_back(effect->getState());
            if (effect->isOn())
                effect->setState(GImageEffect::StateSuspended);
        }
    }
    m_model->invalidate();
}
