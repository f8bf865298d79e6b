#pragma once
// GTabbedDialog: a dialog whose pages share one place and are chosen in a tab strip (the palettes: one page per
// scrapbook or tool module). Pages are windows of the dialog; only the active one is shown, filling the page
// area. The strip may live elsewhere (the main window shows it beside the palette); a click on it activates the page.

#include "Dialogs/GDialog.h"

#include <wx/string.h>

#include <vector>

class GImageTabCtrl;

class GTabbedDialog : public GDialog {
public:
    GTabbedDialog(UINT id, wxWindow* parent);
    ~GTabbedDialog() override;

    // The strip that chooses the pages (not owned); its tabs follow the pages added after.
    void setTabControl(GImageTabCtrl* tabs);
    GImageTabCtrl* getTabControl() const { return m_tabs; }
    // Where the pages go, in the dialog's pixels; the whole dialog when not set.
    void setPageArea(const wxRect& area);
    wxRect getPageArea() const;

    // Adds a page (a window of this dialog) with its tab's title and picture name, hidden; returns its index.
    int addPage(wxWindow* page, const wxString& title, const wxString& image = wxString());
    int getPageCount() const { return static_cast<int>(m_pages.size()); }
    wxWindow* getPage(int index) const;
    int getActivePage() const { return m_active; }
    // Shows the page, hides the one before, and selects its tab; nothing for an index without a page.
    void activatePage(int index);

protected:
    // After a page was activated: `left` is the page before (-1 for none).
    virtual void onPageActivated(int left, int entered);

private:
    void onTab(wxCommandEvent& event);
    void onTabsDestroyed(wxWindowDestroyEvent& event);
    void onSize(wxSizeEvent& event);

    GImageTabCtrl* m_tabs = nullptr;
    std::vector<wxWindow*> m_pages;
    int m_active = -1;
    wxRect m_area;
};
