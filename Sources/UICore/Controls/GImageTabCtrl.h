#pragma once
// GImageTabCtrl: a strip of tabs drawn from pictures, in a row or (vertical) a column, standing in for the
// toolkit's tab control in the palettes. Each tab is its picture (a bitmap resource of the module set, by the
// tab's image name) on the list's background colour, with its title in white over a dark outline; the selected tab
// is bright and marked, the others dimmed. A tab without a picture is drawn by code. A click selects a tab and
// tells the parent (wxEVT_LISTBOX with the tab's index); the mouse wheel does nothing here.

#include "Controls/GImageListViewer.h"
#include "gdi/ModuleBitmaps.h"

#include <wx/string.h>

#include <vector>

class GImageTabCtrl : public GImageListViewer {
public:
    // A tab as the tab control's insert and get messages carry it: its title, its picture's resource name, and a
    // value of the caller's.
    struct TabItem {
        wxString text;
        wxString image;
        long param = 0;
    };

    GImageTabCtrl(wxWindow* parent, int id);

    void setModule(HMODULE module);
    HMODULE getModule() const { return m_module; }
    void setVertical(bool vertical);
    bool isVertical() const { return m_vertical; }
    // The window takes the size of its tabs.
    void sizeToContent();
    // Tabs past the count go; new ones are empty.
    void setItemCount(int count) override;
    // Inserts a tab before `index` (at the end when past it) and returns where it went; false from getItem when
    // there is no such tab.
    int insertItem(int index, const TabItem& item);
    bool getItem(int index, TabItem& item) const;
    int getCurSel() const { return getCaret(); }
    void setCurSel(int index);

    int hitTest(const wxPoint& point) const override;
    wxRect getItemRect(int index) const override;
    wxSize contentSize() const override;

protected:
    void drawItem(wxDC& dc, int index, const wxRect& box, bool selected) override;
    wxBitmap itemBitmap(int index) override;
    void onMouseWheel(wxMouseEvent& event) override;

private:
    // A tab's length along the strip and the strip's thickness.
    int tabLength(int index) const;
    int thickness() const;
    // The tab's bitmap resource (null: the tab is drawn by code), and the tab's whole picture with its title.
    const ImageResource* tabPicture(int index) const;
    wxImage tabImage(int index) const;

    std::vector<TabItem> m_tabs;
    HMODULE m_module = nullptr;
    bool m_vertical = false;
};
