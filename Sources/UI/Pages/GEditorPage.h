#pragma once
// GEditorPage: the option page of an editor context, shown in an area of the main window. It shows the context's
// values (dataToPage) and gives back what the person changed (dataFromPage): on every scroll of a slider (or only
// at the end of scrolling, for the sliders asked so), on a click of a button. While its context's command is
// disabled, the page is too.

#include "Classes/GObject.h"
#include "Dialogs/GDialog.h"
#include "Threads/GCallbackReceiver.h"

#include <set>

class GEditorContext;
class wxScrollEvent;

class GEditorPage : public GDialog, public GObject, public GCallbackReceiver {
    G_CLASS(GEditorPage)

    GEditorPage(UINT dialogTemplateId, wxWindow* parent);
    ~GEditorPage() override;

    GEditorContext* getContext() const { return m_context; }
    // The page shows the context's values.
    void setContext(GEditorContext* context);

    virtual void contextModified();
    virtual void dataToPage() {}
    virtual void dataFromPage() {}
    virtual void enablePage(bool on);

    // The controls' values go to the context.
    void pageModified();
    // The slider's changes count only when its scrolling ends (or on every step again).
    void pageModifiedOnEndScrollOnly(UINT controlId, bool on);

    void callbackReceived(GCallbackEvent& event) override;

    // A scroll of one of the page's controls, as the framework reports it.
    void onScroll(wxScrollEvent& event);

private:
    void onIdle(wxIdleEvent& event);

    GEditorContext* m_context = nullptr;
    std::set<UINT> m_endScrollOnly;
    int m_enabled = -1; // as idle time last set it: -1 not yet, else 0 or 1
};
