#pragma once
// GImageEffect: a modifier attached to one model and drawn every time the model is composed. An internal effect
// changes the model's own composed image (adjustImage); an external one draws onto the parent under the model
// (putToImage) and may enlarge the model's bounding rectangle. Effects are switched off by the user or suspended
// while their model is edited; only an effect that is on is drawn.

#include "Streams/GStreamable.h"
#include "win/Win32Types.h"

class GCompoundModel;
class GSprite;

class GImageEffect : public GStreamable {
    G_CLASS(GImageEffect)

    enum State { StateOn = 0, StateOff = 1, StateSuspended = 2 };

    explicit GImageEffect(bool external = false) : m_external(external) {}

    GCompoundModel* getModel() const { return m_model; }
    bool isOn() const { return m_state == StateOn; }
    bool isExternalEffect() const { return m_external; }
    State getState() const { return m_state; }
    // Stores the state; a change between on and not on tells the effect (modelModified).
    void setState(State state);
    // Asks the model to keep its look before this effect's parameters change, so a command can restore it.
    void preserveModel();

    // Moving to another model tells the effect (modelModified).
    virtual void setModel(GCompoundModel* model);
    virtual void adjustBoundingRect(RECT& rect) const;
    virtual void adjustImage(GSprite& image, const RECT& rect) const;
    // `shift` takes the parent's coordinates to parentImage's: the parent's composed image starts left of or
    // above the parent's own image when an effect of the parent enlarges it.
    virtual void putToImage(GSprite& parentImage, const RECT& rect, const POINT& shift) const;
    // The model's image changed, the effect moved or was switched: cached data of a derived effect is stale.
    virtual void modelModified() {}

    // BYTE 1, then DWORD non-zero for on (a suspended effect is written as on). Version 0 reads as on.
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

private:
    GCompoundModel* m_model = nullptr; // not owned: the model owns its effects
    State m_state = StateOn;
    bool m_external;
};
