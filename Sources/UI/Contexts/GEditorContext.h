#pragma once
// GEditorContext: a tool or mode of the editor (move, pan, lasso ...). At most one is current in the document;
// mouse input, cursor questions and drawing are routed to it, and it turns them into commands. Points are in the
// root model's coordinates.

#include "Commands/GDocumentAttacher.h"
#include "Text/GString.h"
#include "Threads/GCallbackReason.h"
#include "gdi/ModuleBitmaps.h"
#include "gdi/WinGdi.h"

class CCmdUI;
class GCallbackReceiver;
class GImageCommand;
class GKorvaneView;
class GMetaClass;

class GEditorContext : public GDocumentAttacher {
    G_CLASS(GEditorContext)

    enum ContextStringIndex { MenuText = 0, Prompt = 1 };

    // Sent (with the context) when a context's values change, so that its page shows them.
    static const GCallbackReason Reason_ContextModified;
    struct ContextInfo : GCallbackEvent {
        GEditorContext* context;
    };
    static void RegisterCallback(GCallbackReceiver& receiver);
    static void UnRegisterCallback(GCallbackReceiver& receiver);

    void attachedToDocument(GKorvaneDoc* document) override;
    virtual void getMenuName(GString& name) const;
    virtual void getPrompt(GString& prompt) const;
    // The document applies its last command, and updates everything when asked to.
    virtual void applyLastCommand(bool update);
    virtual void setCommandID(int id) { m_commandId = static_cast<UINT>(id); }
    virtual void onSelectedModelChanged() { contextModified(); }
    // A radio mark when this context is the document's current one.
    virtual void onUpdateUI(CCmdUI& ui);
    virtual void onDraw(HDC dc);
    // The cursor to show at the point; null gives the arrow.
    virtual HCURSOR onSetCursor(POINT point);
    virtual void onLButtonDown(UINT flags, POINT point);
    virtual void onLButtonUp(UINT flags, POINT point);
    virtual void onLButtonDblClk(UINT flags, POINT point);
    virtual void onMouseMove(UINT flags, POINT point);
    virtual void onMouseEnter(POINT point);
    virtual void onMouseLeave();

    UINT getCommandID() const { return m_commandId; }
    bool clickSelection() const { return m_clickSelection; }
    void clickSelection(bool on) { m_clickSelection = on; }
    // The menu text and the prompt joined by "|".
    void setContextString(const GString& text) { m_contextString = text; }
    GString getContextString(ContextStringIndex index) const;

    // The document's applyCommand (attached and applied at once).
    bool applyCommand(GImageCommand* command);
    // The top of the undo stack when its class is exactly `cls` and, when `sameModel` is set, it was made for this
    // context's selected model; otherwise null.
    GImageCommand* getLastCommandByClass(const GMetaClass* cls, bool sameModel) const;
    // That command, or else a new one of the class, attached to the document but not yet done.
    GImageCommand* getCurrentCommandByClass(const GMetaClass* cls, bool sameModel);
    void contextModified();
    // The active scene view; the mouse captured for it, and released when it holds the capture.
    GKorvaneView* getView() const;
    void setCapture();
    void releaseCapture();

private:
    UINT m_commandId = 0;
    bool m_clickSelection = true;
    GString m_contextString;
};
