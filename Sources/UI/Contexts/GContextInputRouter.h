#pragma once
// GContextInputRouter: the view's mouse input on its way to the document's current context. The view converts
// points to the root model's coordinates and forwards its events here; this decides what selects a model first and
// which slot of the context gets the event.

#include "gdi/ModuleBitmaps.h"
#include "win/Win32Types.h"

#include <functional>

class GKorvaneDoc;

class GContextInputRouter {
public:
    // Whether a command id is enabled; the shell asks its command handlers, alone it is always true.
    using CommandEnabled = std::function<bool(UINT id)>;

    explicit GContextInputRouter(GKorvaneDoc& document, CommandEnabled commandEnabled = {});

    // The document has a current context and a model, and the context's command is enabled.
    bool enabled() const;

    void mouseMove(UINT flags, POINT point);
    void mouseLeave();
    // Selects the model under the cursor (bringing it to the top) unless the context takes clicks itself.
    void lButtonDown(UINT flags, POINT point);
    void lButtonUp(UINT flags, POINT point);
    void lButtonDblClk(UINT flags, POINT point);
    // Selects the model under the cursor without moving it; the context is not told.
    void rButtonDown(UINT flags, POINT point);
    // The context's cursor for the point; null means the arrow.
    HCURSOR setCursor(POINT point);

private:
    // The first event after the mouse came in tells the context that it entered.
    void noteEntry(POINT point);

    GKorvaneDoc& m_document;
    CommandEnabled m_commandEnabled;
    bool m_inside = false;
};
