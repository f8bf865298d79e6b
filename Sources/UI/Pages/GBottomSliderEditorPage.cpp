#include "Pages/GBottomSliderEditorPage.h"

#include "Controls/GImageScrollBar.h"
#include "Document/GKorvaneDoc.h"
#include "Shell/GKorvaneUserInterface.h"

G_IMPLEMENT_ABSTRACT_CLASS(GBottomSliderEditorPage, GEditorPage)

namespace {

GImageScrollBar* mainSlider() {
    const GKorvaneDoc* document = GKorvaneDoc::GetActiveDocument();
    const auto* face = document != nullptr ? dynamic_cast<GKorvaneUserInterface*>(document->GetFirstView()) : nullptr;
    return face != nullptr ? face->getHorizScrollbar() : nullptr;
}

} // namespace

GBottomSliderEditorPage::GBottomSliderEditorPage(wxWindow* parent) : GEditorPage(0, parent) {}

GBottomSliderEditorPage::~GBottomSliderEditorPage() {
    if (m_slider != nullptr && m_slider->getNotifyWindow() == this) {
        m_slider->setNotifyWindow(nullptr);
        m_slider->Disable();
    }
}

bool GBottomSliderEditorPage::Create() {
    m_slider = mainSlider();
    // The page's own window is empty: an empty rectangle in the corner of the window it is made in.
    if (m_slider == nullptr || !wxPanel::Create(dialogParent(), wxID_ANY, wxPoint(0, 0), wxSize(0, 0)))
        return false;
    m_slider->setNotifyWindow(this);
    m_slider->Enable();
    return true;
}

void GBottomSliderEditorPage::setRange(int min, int max) {
    if (m_slider != nullptr)
        m_slider->setScrollRange(min, max);
}

void GBottomSliderEditorPage::setPosition(int position) {
    if (m_slider != nullptr)
        m_slider->setScrollPos(position);
}

int GBottomSliderEditorPage::getPosition() const {
    return m_slider != nullptr ? m_slider->getScrollPos() : 0;
}

void GBottomSliderEditorPage::enablePage(bool on) {
    if (m_slider != nullptr)
        m_slider->Enable(on);
}
