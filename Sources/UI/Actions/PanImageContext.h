#pragma once
// PanImageContext: the hand tool. Dragging moves the scene in the view, keeping the grabbed point under the
// pointer; a click selects nothing. Over the scene the pointer shows four arrows.

#include "Contexts/GEditorContext.h"

class PanImageContext : public GEditorContext {
    G_CLASS(PanImageContext)

    PanImageContext();
    ~PanImageContext() override;
    HCURSOR onSetCursor(POINT point) override;
    void onLButtonDown(UINT flags, POINT point) override;
    void onMouseMove(UINT flags, POINT point) override;
    void onLButtonUp(UINT flags, POINT point) override;

private:
    bool m_dragging = false;
    POINT m_grabbed{0, 0}; // in model pixels
    HCURSOR m_cursor = nullptr;
};
