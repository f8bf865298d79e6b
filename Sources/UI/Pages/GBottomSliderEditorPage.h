#pragma once
// GBottomSliderEditorPage: a page without controls of its own that borrows the main window's bottom slider (the
// horizontal image scroll bar) while it exists: the slider's scrolls come to the page, and the page enables the
// slider, and disables it again when it goes.

#include "Pages/GEditorPage.h"

class GImageScrollBar;

class GBottomSliderEditorPage : public GEditorPage {
    G_CLASS(GBottomSliderEditorPage)

    explicit GBottomSliderEditorPage(wxWindow* parent);
    ~GBottomSliderEditorPage() override;

    // Makes the (empty) window and takes the slider; false without a main window's slider.
    bool Create() override;

    void setRange(int min, int max);
    void setPosition(int position);
    int getPosition() const;
    void enablePage(bool on) override;

private:
    GImageScrollBar* m_slider = nullptr;
};
