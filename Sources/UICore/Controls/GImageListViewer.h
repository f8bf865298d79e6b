#pragma once
// GImageListViewer: a grid of picture items (thumbnails, tabs) in rows of a fixed number of columns, each item a
// box of one size with a frame around its picture. Items are drawn when they come into view, so a subclass can load
// their pictures lazily. One item, or several, may be selected: a click selects, Ctrl+click toggles, Shift+click
// extends from the caret; a double click activates. Rows scroll by the wheel, the keys or an attached scroll bar
// (one bar may be handed between lists). Selection changes and activations reach the parent as the framework's
// list box events (wxEVT_LISTBOX, wxEVT_LISTBOX_DCLICK) whose integer is the item, -1 for an empty place.

#include "Preferences/GlobalColor.h"

#include <wx/bitmap.h>
#include <wx/window.h>

#include <vector>

class GImageScrollBar;

class GImageListViewer : public wxWindow {
public:
    // Behind the items, and inside an item's frame behind its picture.
    static GlobalColor& BackgroundColor();
    static GlobalColor& IconBackgroundColor();

    GImageListViewer(wxWindow* parent, int id, const wxPoint& position = wxDefaultPosition,
                     const wxSize& size = wxDefaultSize);
    ~GImageListViewer() override;

    // The items; a new count drops the pictures and the selection of items past it.
    virtual void setItemCount(int count);
    int getItemCount() const { return static_cast<int>(m_bitmaps.size()); }
    void setItemSize(const wxSize& size);
    wxSize getItemSize() const { return m_itemSize; }
    // Pixels between an item's box and its picture.
    void setItemFrame(int frame);
    int getItemFrame() const { return m_frame; }
    void setColumns(int columns);
    int getColumns() const { return m_columns; }
    // The room for an item's picture: its box less the frame on every side.
    wxSize assignableSize() const;
    // Item i's picture, shrunk into the room when larger; an item without one shows an empty frame.
    void setBitmap(int index, const wxBitmap& bitmap);

    void setMultipleSelection(bool multiple) { m_multiple = multiple; }
    bool isSelected(int index) const;
    // Selects or deselects an item; with single selection, selecting drops the others.
    void select(int index, bool on = true);
    void clearSelection();
    std::vector<int> getSelection() const;
    // The item last clicked or selected, -1 for none.
    int getCaret() const { return m_caret; }

    // The item at a point of the window, -1 for an empty place; an item's box in window pixels. A subclass with
    // items of different sizes lays them out itself.
    virtual int hitTest(const wxPoint& point) const;
    virtual wxRect getItemRect(int index) const;

    // Scrolling in pixels from the top row, clamped to the rows there are.
    int getScrollOffset() const { return m_offset; }
    void scrollTo(int offset);
    void ensureVisible(int index);
    // The bar that scrolls this list (null: none); it gets the range and position, and its events come here.
    void attachScrollBar(GImageScrollBar* bar);
    GImageScrollBar* getScrollBar() const { return m_bar; }
    // The grid's whole size: the columns' width by the rows' height.
    virtual wxSize contentSize() const;

protected:
    // Draws item i in its box; by default its picture on the icon colour, framed, marked when selected.
    virtual void drawItem(wxDC& dc, int index, const wxRect& box, bool selected);
    // The picture of item i, asked when it is drawn; by default the one set.
    virtual wxBitmap itemBitmap(int index);
    // The wheel scrolls by rows; a list that should not scroll this way ignores it.
    virtual void onMouseWheel(wxMouseEvent& event);
    void sendListEvent(wxEventType type, int index);
    // After a change of the items' number or size: keeps the scrolling within the rows and repaints.
    void relayout();

private:
    void onPaint(wxPaintEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onDoubleClick(wxMouseEvent& event);
    void onKey(wxKeyEvent& event);
    void onSize(wxSizeEvent& event);
    void onScroll(wxScrollEvent& event);
    void onBarDestroyed(wxWindowDestroyEvent& event);
    void clickItem(int index, bool toggle, bool extend);
    int maxOffset() const;
    void updateScrollBar();

    std::vector<wxBitmap> m_bitmaps;
    std::vector<bool> m_selected;
    wxSize m_itemSize{64, 64};
    int m_frame = 4;
    int m_columns = 1;
    bool m_multiple = false;
    int m_caret = -1;
    int m_offset = 0;
    GImageScrollBar* m_bar = nullptr;
};
