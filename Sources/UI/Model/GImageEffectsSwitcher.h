#pragma once
// GImageEffectsSwitcher: suspends a model's effects while the model is edited and gives them back their states
// afterwards. The model's effect list must not change in between: states are kept by position.

#include "Model/GImageEffect.h"

#include <vector>

class GImageEffectsSwitcher {
public:
    explicit GImageEffectsSwitcher(GCompoundModel* model = nullptr) : m_model(model) {}

    void setModel(GCompoundModel* model) { m_model = model; }
    // Suspends the effects that are on (once: a second call changes nothing).
    void removeEffects();
    // Gives every effect its state from before removeEffects. The destructor does not: its owner calls this.
    void restoreEffects();

private:
    void turnEffects(bool on);

    GCompoundModel* m_model;
    bool m_removed = false;
    std::vector<GImageEffect::State> m_saved;
};
