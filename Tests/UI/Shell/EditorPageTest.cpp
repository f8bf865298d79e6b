// Option pages in the real window: a page made from this program's own template, showing and taking its
// context's values on scrolls (every step or only the end) and clicks, disabled with its context's command; the
// bottom slider borrowed by a page and given back; templates found only in the module that holds them.

#include "Application/GKorvaneApp.h"
#include "Controls/GColorButton.h"
#include "Controls/GImageScrollBar.h"
#include "Dialogs/ModuleDialogs.h"
#include "Document/GKorvaneDoc.h"
#include "Pages/GBottomSliderEditorPage.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Text/UIStringTable.h"
#include "UI/Document/DocumentTesting.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/slider.h>

namespace {

constexpr UINT TestPageTemplate = 109;
constexpr int AmountSlider = 1019;

constexpr DialogResource Dialogs[] = {
    {TestPageTemplate, R"(<object class="wxPanel">
        <object class="wxSlider" name="1019"><id>1019</id><min>0</min><max>100</max><value>10</value></object>
        <object class="wxButton" name="1020"><id>1020</id><label>Apply</label></object>
    </object>)"},
};
const ModuleDialogs TestDialogs(Dialogs);

// A page that counts its exchanges and keeps the slider's value.
class CountingPage : public GEditorPage {
public:
    explicit CountingPage(wxWindow* parent) : GEditorPage(TestPageTemplate, parent) { setModule(TestDialogs.module()); }
    void dataToPage() override { ++shown; }
    void dataFromPage() override { ++taken; }
    void DoDataExchange(bool save) override {
        auto* slider = dynamic_cast<wxSlider*>(FindWindow(AmountSlider));
        if (slider == nullptr)
            return;
        if (save)
            amount = slider->GetValue();
        else
            slider->SetValue(amount);
    }

    int shown = 0;
    int taken = 0;
    int amount = 42;
};

wxWindow* form() {
    const auto* face = dynamic_cast<GKorvaneUserInterface*>(GKorvaneDoc::GetActiveDocument()->GetFirstView());
    return face != nullptr ? face->getForm() : nullptr;
}

GImageScrollBar* bottomSlider() {
    return dynamic_cast<GKorvaneUserInterface*>(GKorvaneDoc::GetActiveDocument()->GetFirstView())->getHorizScrollbar();
}

void scroll(wxWindow* control, wxEventType type, int position = 0) {
    wxScrollEvent event(type, control->GetId(), position, wxHORIZONTAL);
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
}

void press(wxWindow* control, int key) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
}

void mouse(wxWindow* control, wxEventType type, wxPoint at) {
    wxMouseEvent event(type);
    event.SetPosition(at);
    event.m_leftDown = type != wxEVT_LEFT_UP;
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
}

GEditorContext* context(const char* className) {
    return GKorvaneApp::Get()->findContextByName(className);
}

} // namespace

TEST(EditorPages, APageShowsAndTakesItsContextsValues) {
    auto* page = new CountingPage(form());
    ASSERT_TRUE(page->Create());
    page->setContext(context("PanImageContext"));
    EXPECT_EQ(page->shown, 1);
    auto* slider = dynamic_cast<wxSlider*>(page->FindWindow(AmountSlider));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetValue(), 42) << "the members went to the controls";

    slider->SetValue(70);
    scroll(slider, wxEVT_SCROLL_THUMBTRACK, 70);
    EXPECT_EQ(page->taken, 1);
    EXPECT_EQ(page->amount, 70);
    // Counted only at the end of scrolling.
    page->pageModifiedOnEndScrollOnly(AmountSlider, true);
    scroll(slider, wxEVT_SCROLL_THUMBTRACK, 75);
    scroll(slider, wxEVT_SCROLL_THUMBTRACK, 80);
    EXPECT_EQ(page->taken, 1);
    scroll(slider, wxEVT_SCROLL_CHANGED, 80);
    EXPECT_EQ(page->taken, 2);
    // A click of a button counts.
    wxWindow* apply = page->FindWindow(1020);
    wxCommandEvent click(wxEVT_BUTTON, 1020);
    click.SetEventObject(apply);
    apply->GetEventHandler()->ProcessEvent(click);
    EXPECT_EQ(page->taken, 3);
    // A notice of its context's change shows the values again; another context's does not.
    context("PanImageContext")->contextModified();
    context("UndoImageCommand")->contextModified();
    EXPECT_EQ(page->shown, 2);
    page->Destroy();
}

TEST(EditorPages, APageIsDisabledWhileItsContextsCommandIs) {
    auto* page = new CountingPage(form());
    ASSERT_TRUE(page->Create());
    ASSERT_FALSE(GKorvaneDoc::GetActiveDocument()->canRedo());
    page->setContext(context("RedoImageCommand"));
    wxIdleEvent idle;
    page->ProcessWindowEvent(idle);
    EXPECT_FALSE(page->FindWindow(AmountSlider)->IsEnabled());
    page->setContext(context("PanImageContext"));
    wxIdleEvent again;
    page->ProcessWindowEvent(again);
    EXPECT_TRUE(page->FindWindow(AmountSlider)->IsEnabled());
    page->Destroy();
}

TEST(EditorPages, TheBottomSliderIsBorrowedAndGivenBack) {
    GImageScrollBar* slider = bottomSlider();
    ASSERT_NE(slider, nullptr);
    EXPECT_FALSE(slider->IsEnabled());
    auto* page = new GBottomSliderEditorPage(form());
    ASSERT_TRUE(page->Create());
    EXPECT_TRUE(slider->IsEnabled());
    EXPECT_EQ(slider->getNotifyWindow(), page);
    page->setRange(0, 255);
    page->setPosition(100);
    // The page moves the borrowed slider itself: a line by one, a page by a sixteenth of the range.
    press(slider, WXK_RIGHT);
    EXPECT_EQ(page->getPosition(), 101);
    press(slider, WXK_PAGEUP);
    EXPECT_EQ(page->getPosition(), 85);
    press(slider, WXK_HOME);
    EXPECT_EQ(page->getPosition(), 0);
    // The thumb dragged past the end stops at the end.
    const wxRect thumb = slider->thumbRect();
    mouse(slider, wxEVT_LEFT_DOWN, thumb.GetPosition() + wxPoint(2, 2));
    mouse(slider, wxEVT_MOTION, wxPoint(slider->GetClientSize().x + 50, 2));
    mouse(slider, wxEVT_LEFT_UP, wxPoint(slider->GetClientSize().x + 50, 2));
    EXPECT_EQ(page->getPosition(), 255);
    delete page;
    EXPECT_FALSE(slider->IsEnabled());
    EXPECT_EQ(slider->getNotifyWindow(), nullptr);
}

TEST(EditorPages, TemplatesBelongToTheirModule) {
    // The application library has no template 109 of its own: the number means this program's page only here.
    auto* other = new wxPanel;
    EXPECT_FALSE(ModuleDialogs::LoadDialog(GetUIModule(), TestPageTemplate, *other, form()));
    EXPECT_FALSE(ModuleDialogs::LoadDialog(TestDialogs.module(), TestPageTemplate + 1, *other, form()));
    delete other;
    auto* found = new wxPanel;
    ASSERT_TRUE(ModuleDialogs::LoadDialog(TestDialogs.module(), TestPageTemplate, *found, form()));
    EXPECT_NE(found->FindWindow(AmountSlider), nullptr);
    found->Destroy();
    // A page without a module makes no window.
    auto* orphan = new CountingPage(form());
    orphan->setModule(nullptr);
    EXPECT_FALSE(orphan->Create());
    delete orphan;
}

TEST(EditorPages, AColourButtonShowsItsColour) {
    auto* button = new GColorButton(form(), wxID_ANY);
    button->setColor(0xFF336699);
    EXPECT_EQ(button->getColor(), 0x336699u) << "the colour only, without the top byte";
    const wxImage swatch = button->GetBitmap().ConvertToImage();
    EXPECT_EQ(swatch.GetRed(2, 2), 0x99);
    EXPECT_EQ(swatch.GetBlue(2, 2), 0x33);
    button->Destroy();
}
