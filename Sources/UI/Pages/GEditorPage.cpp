#include "Pages/GEditorPage.h"

#include "Application/GKorvaneApp.h"
#include "Contexts/GEditorContext.h"
#include "Controls/GImageScrollBar.h"
#include "Framework/GEventCmdUI.h"

#include <wx/scrolbar.h>
#include <wx/slider.h>

G_IMPLEMENT_ABSTRACT_CLASS(GEditorPage, GObject)

namespace {

// How a page itself moves an image scroll bar for a scroll event; the thumb positions and the end leave it.
int movedPosition(const wxScrollEvent& event, int position, int min, int max) {
    const int page = (max - min + 1) / 16;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLL_LINEUP)
        return position - 1;
    if (type == wxEVT_SCROLL_LINEDOWN)
        return position + 1;
    if (type == wxEVT_SCROLL_PAGEUP)
        return position - page;
    if (type == wxEVT_SCROLL_PAGEDOWN)
        return position + page;
    if (type == wxEVT_SCROLL_THUMBTRACK)
        return event.GetPosition();
    if (type == wxEVT_SCROLL_TOP)
        return min;
    if (type == wxEVT_SCROLL_BOTTOM)
        return max;
    return position;
}

} // namespace

GEditorPage::GEditorPage(UINT dialogTemplateId, wxWindow* parent) : GDialog(dialogTemplateId, parent) {
    GEditorContext::RegisterCallback(*this);
    Bind(wxEVT_SCROLL_TOP, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_BOTTOM, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_LINEUP, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_LINEDOWN, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_PAGEUP, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_PAGEDOWN, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_THUMBTRACK, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_THUMBRELEASE, &GEditorPage::onScroll, this);
    Bind(wxEVT_SCROLL_CHANGED, &GEditorPage::onScroll, this);
    const auto clicked = [this](wxCommandEvent&) {
        pageModified();
    };
    Bind(wxEVT_BUTTON, clicked);
    Bind(wxEVT_CHECKBOX, clicked);
    Bind(wxEVT_RADIOBUTTON, clicked);
    Bind(wxEVT_IDLE, &GEditorPage::onIdle, this);
}

GEditorPage::~GEditorPage() {
    GEditorContext::UnRegisterCallback(*this);
}

void GEditorPage::setContext(GEditorContext* context) {
    m_context = context;
    if (context != nullptr)
        contextModified();
}

void GEditorPage::contextModified() {
    dataToPage();
    UpdateData(false);
}

void GEditorPage::pageModified() {
    if (m_context == nullptr)
        return;
    UpdateData(true);
    dataFromPage();
}

void GEditorPage::pageModifiedOnEndScrollOnly(UINT controlId, bool on) {
    if (on)
        m_endScrollOnly.insert(controlId);
    else
        m_endScrollOnly.erase(controlId);
}

void GEditorPage::enablePage(bool on) {
    for (wxWindow* child : GetChildren())
        child->Enable(on);
}

void GEditorPage::callbackReceived(GCallbackEvent& event) {
    if (event.reason == GEditorContext::Reason_ContextModified &&
        static_cast<GEditorContext::ContextInfo&>(event).context == m_context && m_context != nullptr)
        contextModified();
}

void GEditorPage::onScroll(wxScrollEvent& event) {
    auto* control = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (control == nullptr ||
        !(dynamic_cast<wxSlider*>(control) != nullptr || dynamic_cast<wxScrollBar*>(control) != nullptr ||
          dynamic_cast<GImageScrollBar*>(control) != nullptr))
        return;
    if (auto* bar = dynamic_cast<GImageScrollBar*>(control)) {
        int min = 0;
        int max = 0;
        bar->getScrollRange(min, max);
        bar->setScrollPos(movedPosition(event, bar->getScrollPos(), min, max));
    }
    const bool endOnly = m_endScrollOnly.count(static_cast<UINT>(control->GetId())) != 0;
    if (!endOnly || event.GetEventType() == wxEVT_SCROLL_CHANGED)
        pageModified();
}

void GEditorPage::onIdle(wxIdleEvent& event) {
    event.Skip();
    wxWindow* parent = GetParent();
    if (m_context == nullptr || parent == nullptr || !IsShown())
        return;
    const int enabled = GCommandEnabled(*parent, GKorvaneApp::MenuIdOf(m_context->getCommandID())) ? 1 : 0;
    if (enabled != m_enabled) {
        m_enabled = enabled;
        enablePage(enabled != 0);
    }
}
