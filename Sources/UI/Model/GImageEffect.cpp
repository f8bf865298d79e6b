#include "Model/GImageEffect.h"

#include "Classes/GClassBoilerplate.h"
#include "Model/GCompoundModel.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

G_IMPLEMENT_CLASS(GImageEffect, GStreamable)

void GImageEffect::setState(State state) {
    const bool wasOn = isOn();
    m_state = state;
    if (wasOn != isOn())
        modelModified();
}

void GImageEffect::preserveModel() {
    if (m_model != nullptr)
        m_model->preserveUnmodifiedImage();
}

void GImageEffect::setModel(GCompoundModel* model) {
    if (model == m_model)
        return;
    m_model = model;
    modelModified();
}

void GImageEffect::adjustBoundingRect(RECT&) const {}

void GImageEffect::adjustImage(GSprite&, const RECT&) const {}

void GImageEffect::putToImage(GSprite&, const RECT&, const POINT&) const {}

void GImageEffect::read(ipstream& stream) {
    const BYTE version = stream.readVersion(1, typeid(GImageEffect));
    m_state = version == 0 || stream.readDWord() != 0 ? StateOn : StateOff;
}

void GImageEffect::write(opstream& stream) const {
    stream.writeByte(1);
    stream.writeDWord(m_state == StateOff ? 0 : 1);
}
