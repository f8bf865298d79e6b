#include "Shell/GKorvaneUserInterface.h"

#include "Application/GKorvaneApp.h"
#include "Controls/GBitmapButton.h"
#include "Controls/GImageScrollBar.h"
#include "Document/GKorvaneDoc.h"
#include "Shell/GButtonArt.h"
#include "Shell/GMainFrame.h"
#include "Shell/GScenePrintout.h"
#include "Shell/GSkin.h"
#include "Views/GKorvaneView.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

wxIMPLEMENT_DYNAMIC_CLASS(GKorvaneUserInterface, wxView);

namespace {

// The areas, in the form's pixels.
constexpr RECT Areas[] = {
    {26, 17, 585, 438},   // the scene view
    {634, 46, 775, 468},  // the palette panel
    {618, 46, 634, 468},  // the palette's tabs
    {775, 46, 790, 468},  // the palette's scroll bar
    {11, 478, 789, 541},  // the tool pages
    {11, 463, 269, 478},  // the tool pages' tabs
    {54, 541, 745, 556},  // the bottom slider
    {470, 452, 600, 473}, // spare
};

// The form's buttons, each named after the context it selects, in a row above the palette.
constexpr const char* ButtonNames[] = {"NewImageCommand", "UndoImageCommand", "RedoImageCommand", "PanImageContext",
                                       "SelectBackgroundCommand"};
constexpr POINT FirstButton{620, 8};
constexpr int ButtonStep = GButtonArt::Size + 4;

} // namespace

void GKorvaneUserInterface::getAreaRect(AreaType type, RECT& rect) {
    if (type >= AreaMainView && type <= AreaSpare)
        rect = Areas[type];
}

GKorvaneDoc* GKorvaneUserInterface::GetDocument() const {
    return dynamic_cast<GKorvaneDoc*>(wxView::GetDocument());
}

bool GKorvaneUserInterface::OnCreate(wxDocument* document, long) {
    auto* frame = dynamic_cast<wxFrame*>(wxTheApp->GetTopWindow());
    if (frame == nullptr)
        return false;
    SetFrame(frame);
    m_form = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(FormSize.cx, FormSize.cy));
    m_form->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_form->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(m_form);
        dc.DrawBitmap(GSkin::Bitmap(), 0, 0);
    });
    m_view = new GKorvaneView(m_form, dynamic_cast<GKorvaneDoc*>(document));
    addAreaControl(AreaMainView, m_view);
    // The bottom slider waits, disabled, for a page to borrow it.
    m_slider = new GImageScrollBar(m_form, wxID_ANY, GSkin::SliderShaft(), GSkin::SliderThumb());
    m_slider->setScrollRange(0, 100, false);
    m_slider->setScrollPos(50, false);
    m_slider->Disable();
    addAreaControl(AreaSlider, m_slider);
    addButtons();
    frame->Layout();
    return true;
}

bool GKorvaneUserInterface::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow))
        return false;
    if (m_form != nullptr)
        m_form->Destroy();
    m_form = nullptr;
    m_view = nullptr;
    m_slider = nullptr;
    return true;
}

void GKorvaneUserInterface::OnDraw(wxDC*) {}

wxPrintout* GKorvaneUserInterface::OnCreatePrintout() {
    return new GScenePrintout(GetDocument());
}

void GKorvaneUserInterface::addButtons() {
    const GKorvaneApp* app = GKorvaneApp::Get();
    int x = FirstButton.x;
    for (const char* name : ButtonNames) {
        // A button whose context exists runs it; one without keeps an id of its own and does nothing.
        const GEditorContext* context = app != nullptr ? app->findContextByName(name) : nullptr;
        const int id = context != nullptr ? GKorvaneApp::MenuIdOf(context->getCommandID()) : wxID_ANY;
        auto* button = new GBitmapButton(m_form, id, wxPoint(x, FirstButton.y));
        button->LoadButton(name, GButtonArt::Button);
        if (context != nullptr)
            button->SetToolTip(GMainFrame::getToolTipText(context->getCommandID()));
        else
            button->Disable();
        x += ButtonStep;
    }
}

void GKorvaneUserInterface::addAreaControl(AreaType type, wxWindow* window) {
    RECT rect{};
    getAreaRect(type, rect);
    window->SetSize(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

wxImage GKorvaneUserInterface::renderImage() const {
    wxBitmap picture(FormSize.cx, FormSize.cy);
    {
        wxMemoryDC dc(picture);
        dc.DrawBitmap(GSkin::Bitmap(), 0, 0);
        if (m_view != nullptr)
            dc.DrawBitmap(wxBitmap(m_view->renderImage()), m_view->GetPosition());
        if (m_slider != nullptr) {
            const wxRect slider = m_slider->GetRect();
            dc.DrawBitmap(wxBitmap(GSkin::SliderShaft().ConvertToImage().Scale(slider.width, slider.height)),
                          slider.GetPosition());
            if (m_slider->IsEnabled())
                dc.DrawBitmap(GSkin::SliderThumb(), slider.GetPosition() + m_slider->thumbRect().GetPosition());
        }
        for (const wxWindow* child : m_form->GetChildren())
            if (const auto* button = dynamic_cast<const GBitmapButton*>(child))
                dc.DrawBitmap(button->IsEnabled() ? button->GetBitmap() : button->GetBitmapDisabled(),
                              button->GetPosition(), true);
    }
    return picture.ConvertToImage();
}
