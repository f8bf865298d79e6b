#include "Dialogs/GTabbedDialog.h"

#include "Controls/GImageTabCtrl.h"

GTabbedDialog::GTabbedDialog(UINT id, wxWindow* parent) : GDialog(id, parent) {
    Bind(wxEVT_SIZE, &GTabbedDialog::onSize, this);
}

GTabbedDialog::~GTabbedDialog() {
    setTabControl(nullptr);
}

void GTabbedDialog::setTabControl(GImageTabCtrl* tabs) {
    if (m_tabs != nullptr) {
        m_tabs->Unbind(wxEVT_LISTBOX, &GTabbedDialog::onTab, this);
        m_tabs->Unbind(wxEVT_DESTROY, &GTabbedDialog::onTabsDestroyed, this);
    }
    m_tabs = tabs;
    if (m_tabs != nullptr) {
        m_tabs->Bind(wxEVT_LISTBOX, &GTabbedDialog::onTab, this);
        m_tabs->Bind(wxEVT_DESTROY, &GTabbedDialog::onTabsDestroyed, this);
    }
}

// The strip may go first (a sibling made earlier): it is forgotten, never reached again.
void GTabbedDialog::onTabsDestroyed(wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == m_tabs)
        m_tabs = nullptr;
    event.Skip();
}

void GTabbedDialog::setPageArea(const wxRect& area) {
    m_area = area;
    if (wxWindow* page = getPage(m_active))
        page->SetSize(getPageArea());
}

wxRect GTabbedDialog::getPageArea() const {
    return m_area.IsEmpty() ? wxRect(GetClientSize()) : m_area;
}

int GTabbedDialog::addPage(wxWindow* page, const wxString& title, const wxString& image) {
    page->Hide();
    m_pages.push_back(page);
    if (m_tabs != nullptr)
        m_tabs->insertItem(getPageCount(), {title, image, 0});
    return getPageCount() - 1;
}

wxWindow* GTabbedDialog::getPage(int index) const {
    return index >= 0 && index < getPageCount() ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

void GTabbedDialog::activatePage(int index) {
    wxWindow* entered = getPage(index);
    if (entered == nullptr)
        return;
    const int left = m_active;
    if (m_tabs != nullptr && m_tabs->getCurSel() != index)
        m_tabs->setCurSel(index);
    if (left == index)
        return;
    if (wxWindow* page = getPage(left))
        page->Hide();
    m_active = index;
    entered->SetSize(getPageArea());
    entered->Show();
    onPageActivated(left, index);
}

void GTabbedDialog::onPageActivated(int, int) {}

void GTabbedDialog::onTab(wxCommandEvent& event) {
    if (event.GetInt() >= 0)
        activatePage(event.GetInt());
    else if (m_tabs != nullptr) // a click beside the tabs keeps the page
        m_tabs->setCurSel(m_active);
}

void GTabbedDialog::onSize(wxSizeEvent& event) {
    if (wxWindow* page = getPage(m_active))
        page->SetSize(getPageArea());
    event.Skip();
}
