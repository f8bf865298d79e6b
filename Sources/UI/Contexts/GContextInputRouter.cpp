#include "Contexts/GContextInputRouter.h"

#include "Contexts/GEditorContext.h"
#include "Document/GKorvaneDoc.h"

#include <utility>

GContextInputRouter::GContextInputRouter(GKorvaneDoc& document, CommandEnabled commandEnabled)
    : m_document(document), m_commandEnabled(std::move(commandEnabled)) {}

bool GContextInputRouter::enabled() const {
    GEditorContext* context = m_document.getContext();
    return context != nullptr && m_document.getModel() != nullptr &&
           (!m_commandEnabled || m_commandEnabled(context->getCommandID()));
}

void GContextInputRouter::noteEntry(POINT point) {
    if (m_inside)
        return;
    m_inside = true;
    if (enabled())
        m_document.getContext()->onMouseEnter(point);
}

void GContextInputRouter::mouseMove(UINT flags, POINT point) {
    noteEntry(point);
    if (enabled())
        m_document.getContext()->onMouseMove(flags, point);
}

void GContextInputRouter::mouseLeave() {
    if (!std::exchange(m_inside, false))
        return;
    if (enabled())
        m_document.getContext()->onMouseLeave();
}

void GContextInputRouter::lButtonDown(UINT flags, POINT point) {
    noteEntry(point);
    if (!(enabled() && !m_document.getContext()->clickSelection()) && m_document.getModel() != nullptr)
        m_document.selectModelUnderCursor(point, true);
    if (enabled())
        m_document.getContext()->onLButtonDown(flags, point);
}

void GContextInputRouter::lButtonUp(UINT flags, POINT point) {
    noteEntry(point);
    if (enabled())
        m_document.getContext()->onLButtonUp(flags, point);
}

void GContextInputRouter::lButtonDblClk(UINT flags, POINT point) {
    noteEntry(point);
    if (enabled())
        m_document.getContext()->onLButtonDblClk(flags, point);
}

void GContextInputRouter::rButtonDown(UINT, POINT point) {
    noteEntry(point);
    if (m_document.getModel() != nullptr)
        m_document.selectModelUnderCursor(point, false);
}

HCURSOR GContextInputRouter::setCursor(POINT point) {
    return enabled() ? m_document.getContext()->onSetCursor(point) : nullptr;
}
