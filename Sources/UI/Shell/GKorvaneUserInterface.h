#pragma once
// GKorvaneUserInterface: the document's view in the framework's sense, a form on the program's skin that fills the
// main window and holds the areas the parts of the program put their windows into: the scene view, the palette
// panel with its tabs and scroll bar, the tool pages with their tabs, and the bottom slider.

#include "win/Win32Types.h"

#include <wx/docview.h>

class GKorvaneDoc;
class GImageScrollBar;
class GKorvaneView;
class wxImage;
class wxPanel;

class GKorvaneUserInterface : public wxView {
public:
    enum AreaType {
        AreaMainView = 0,
        AreaPalette = 1,
        AreaPaletteTabs = 2,
        AreaPaletteScrollBar = 3,
        AreaToolPages = 4,
        AreaToolTabs = 5,
        AreaSlider = 6,
        AreaSpare = 7,
    };
    // The size of the form, in the skin's pixels.
    static constexpr SIZE FormSize{800, 600};

    bool OnCreate(wxDocument* document, long flags) override;
    bool OnClose(bool deleteWindow) override;
    void OnDraw(wxDC* dc) override;
    // The scene on a page, for the framework's print and preview commands.
    wxPrintout* OnCreatePrintout() override;

    GKorvaneDoc* GetDocument() const;
    GKorvaneView* getMainView() const { return m_view; }
    // The bottom slider, which a bottom-slider page borrows.
    GImageScrollBar* getHorizScrollbar() const { return m_slider; }
    wxPanel* getForm() const { return m_form; }
    // The area's rectangle in the form's pixels; an unknown type leaves `rect` as it is.
    static void getAreaRect(AreaType type, RECT& rect);
    // Puts the window into the area.
    void addAreaControl(AreaType type, wxWindow* window);
    // The form as it is painted, with the windows in it, for screenshots.
    wxImage renderImage() const;

private:
    // The buttons of the form, bound to the contexts they name.
    void addButtons();

    wxPanel* m_form = nullptr;
    GKorvaneView* m_view = nullptr;
    GImageScrollBar* m_slider = nullptr;

    wxDECLARE_DYNAMIC_CLASS(GKorvaneUserInterface);
};
