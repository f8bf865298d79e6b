// The widget library's window classes on the real display: the picture list (layout, selection by clicks and keys,
// scrolling through a shared bar), the picture tabs of a module, the tabbed dialog, the picture views, the file
// dialog's preview and the tool bar; and a picture of them for the eye.

#include "Controls/GDIBImageView.h"
#include "Controls/GGetButtonFrameSize.h"
#include "Controls/GImageListViewer.h"
#include "Controls/GImageScrollBar.h"
#include "Controls/GImageTabCtrl.h"
#include "Controls/GMenu.h"
#include "Controls/GPictureHolder.h"
#include "Controls/GToolBarCtrl.h"
#include "Dialogs/GFilePreview.h"
#include "Dialogs/GImageFileDialog.h"
#include "Dialogs/GTabbedDialog.h"
#include "Dialogs/ModuleDialogs.h"
#include "Document/GKorvaneDocManager.h"
#include "Drawing/GFillSolidDifference.h"
#include "Drawing/GWxImage.h"
#include "Framework/GOnMouseWheel.h"
#include "Framework/GRemoveMessageFromQueue.h"
#include "Imaging/GDIBImage.h"
#include "Views/GCursorArt.h"
#include "gdi/ModuleBitmaps.h"
#include "win/Modules.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

// Two tab pictures of this program: a blue one 32 x 71 and a green one 32 x 54 (opaque).
std::vector<DWORD> filled(int width, int height, DWORD pixel) {
    return std::vector<DWORD>(static_cast<std::size_t>(width) * height, pixel);
}
const std::vector<DWORD> BluePixels = filled(32, 71, 0xFF3050A0);
const std::vector<DWORD> GreenPixels = filled(32, 54, 0xFF30A050);
const std::vector<DWORD> CursorPixels = filled(16, 16, 0x80FFFFFF);
const ImageResource TabImages[] = {
    {0, "SCRAP", 32, 71, BluePixels.data(), false, 0, 0},
    {0, "SETS", 32, 54, GreenPixels.data(), false, 0, 0},
    {113, nullptr, 32, 54, GreenPixels.data(), false, 0, 0},
    {0, "MOVE", 16, 16, CursorPixels.data(), true, 3, 4},
};
const ModuleImageTable TestImages(TabImages);

HMODULE thisModule() {
    return ModuleFromAddress(TabImages);
}

constexpr UINT PaletteTemplate = 104;
constexpr DialogResource Dialogs[] = {
    {PaletteTemplate, R"(<object class="wxPanel"><size>120,200</size></object>)"},
};
const ModuleDialogs TestDialogs(Dialogs);

// A frame of its own for each test, shown, destroyed at the end.
class WidgetTest : public testing::Test {
protected:
    WidgetTest() : frame(new wxFrame(nullptr, wxID_ANY, "Widgets", wxDefaultPosition, wxSize(420, 320))) {
        frame->Show();
    }
    // Deleted at once: a destroyed frame would wait for idle time, which the tests (run from it) never give back.
    ~WidgetTest() override { delete frame; }

    static void settle() {
        for (int i = 0; i < 5; ++i) {
            wxMilliSleep(5);
            wxYield();
        }
    }

    wxFrame* frame;
};

void mouse(wxWindow* window, wxEventType type, wxPoint at, bool control = false, bool shift = false) {
    wxMouseEvent event(type);
    event.SetPosition(at);
    event.SetControlDown(control);
    event.SetShiftDown(shift);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

void key(wxWindow* window, int code, bool shift = false) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = code;
    event.SetShiftDown(shift);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

// The list events a window receives: their type and item.
struct ListEvents {
    explicit ListEvents(wxWindow* window) {
        window->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { selected.push_back(e.GetInt()); });
        window->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent& e) { activated.push_back(e.GetInt()); });
    }
    std::vector<int> selected;
    std::vector<int> activated;
};

wxBitmap shaftPicture(int width, int height) {
    wxImage shaft(width, height);
    shaft.SetRGB(wxRect(0, 0, width, height), 40, 40, 48);
    return wxBitmap(shaft);
}

} // namespace

TEST_F(WidgetTest, AListLaysOutSelectsAndScrollsItsItems) {
    auto* list = new GImageListViewer(frame, wxID_ANY, {0, 0}, {80, 60});
    ListEvents events(frame);
    list->setColumns(2);
    list->setItemSize({40, 30});
    list->setItemFrame(5);
    list->setItemCount(7);
    EXPECT_EQ(list->assignableSize(), wxSize(30, 20));
    EXPECT_EQ(list->contentSize(), wxSize(80, 120)) << "4 rows of 2";
    EXPECT_EQ(list->getItemRect(3), wxRect(40, 30, 40, 30));
    EXPECT_EQ(list->hitTest({45, 35}), 3);
    EXPECT_EQ(list->hitTest({45, 95}), -1) << "the place after the last item is empty";
    EXPECT_EQ(list->hitTest({85, 5}), -1) << "beside the columns";

    // Single selection: a click selects one; Ctrl and Shift change nothing more.
    mouse(list, wxEVT_LEFT_DOWN, {5, 5});
    mouse(list, wxEVT_LEFT_DOWN, {45, 5}, true);
    EXPECT_EQ(list->getSelection(), std::vector<int>{1});
    // Multiple selection: Ctrl toggles, Shift extends from the caret, a click on an empty place clears.
    list->setMultipleSelection(true);
    mouse(list, wxEVT_LEFT_DOWN, {5, 35}, true);
    EXPECT_EQ(list->getSelection(), (std::vector<int>{1, 2}));
    mouse(list, wxEVT_LEFT_DOWN, {5, 5}, false, true);
    EXPECT_EQ(list->getSelection(), (std::vector<int>{0, 1, 2}));
    mouse(list, wxEVT_LEFT_DCLICK, {45, 35});
    mouse(list, wxEVT_LEFT_DCLICK, {45, 95});
    EXPECT_EQ(events.activated, (std::vector<int>{3, -1}));
    mouse(list, wxEVT_LEFT_DOWN, {45, 95});
    EXPECT_TRUE(list->getSelection().empty());
    EXPECT_EQ(events.selected, (std::vector<int>{0, 1, 2, 0, -1}));

    // The keys move the caret by items and rows and keep it in view.
    list->select(0);
    key(list, WXK_DOWN);
    key(list, WXK_DOWN);
    key(list, WXK_RIGHT);
    EXPECT_EQ(list->getSelection(), std::vector<int>{5});
    EXPECT_EQ(list->getScrollOffset(), 30) << "row 2 brought into view";
    key(list, WXK_RETURN);
    EXPECT_EQ(events.activated.back(), 5);

    // A vertical bar scrolls it by rows and pages, within the rows there are; a list that goes lets the bar go.
    auto* bar = new GImageScrollBar(frame, wxID_ANY, shaftPicture(15, 100), shaftPicture(13, 20));
    bar->SetSize(90, 0, 15, 60);
    EXPECT_TRUE(bar->isVertical());
    list->scrollTo(0);
    list->attachScrollBar(bar);
    int min = 0;
    int max = 0;
    bar->getScrollRange(min, max);
    EXPECT_EQ(max, 60) << "120 pixels of rows in a window of 60";
    key(bar, WXK_DOWN);
    EXPECT_EQ(list->getScrollOffset(), 30);
    EXPECT_EQ(bar->getScrollPos(), 30);
    key(bar, WXK_END);
    EXPECT_EQ(list->getScrollOffset(), 60);
    EXPECT_EQ(bar->thumbRect().GetBottom(), 59) << "the thumb at the bottom of a vertical bar";
    list->scrollTo(1000);
    EXPECT_EQ(list->getScrollOffset(), 60);
    list->setItemCount(2);
    EXPECT_EQ(list->getScrollOffset(), 0) << "fewer rows pull the scrolling back";
    EXPECT_FALSE(bar->IsEnabled());
    list->Destroy();
    EXPECT_EQ(bar->getNotifyWindow(), nullptr);
    key(bar, WXK_DOWN); // no list to reach

    // A bar that goes first is forgotten by its list.
    auto* other = new GImageListViewer(frame, wxID_ANY);
    other->attachScrollBar(bar);
    delete bar;
    EXPECT_EQ(other->getScrollBar(), nullptr);
    other->setItemCount(3); // no bar to update
    delete other;
}

TEST_F(WidgetTest, TabsTakeTheirPicturesFromTheirModule) {
    auto* tabs = new GImageTabCtrl(frame, wxID_ANY);
    ListEvents events(frame);
    tabs->setModule(thisModule());
    tabs->setVertical(true);
    EXPECT_EQ(tabs->insertItem(0, {"Sets", "SETS", 2}), 0);
    EXPECT_EQ(tabs->insertItem(0, {"Scrap", "SCRAP", 1}), 0) << "inserted before the first";
    EXPECT_EQ(tabs->insertItem(9, {"Other", "", 3}), 2) << "past the end: at the end";
    GImageTabCtrl::TabItem item;
    ASSERT_TRUE(tabs->getItem(1, item));
    EXPECT_EQ(item.text, "Sets");
    EXPECT_EQ(item.param, 2);
    EXPECT_FALSE(tabs->getItem(3, item));

    // Each tab is as long as its picture; a tab without one is measured by its title.
    EXPECT_EQ(tabs->getItemRect(0), wxRect(0, 0, 32, 71));
    EXPECT_EQ(tabs->getItemRect(1), wxRect(0, 71, 32, 54));
    tabs->sizeToContent();
    EXPECT_EQ(tabs->GetSize().x, 32);
    EXPECT_GT(tabs->GetSize().y, 125);
    EXPECT_EQ(tabs->hitTest({10, 80}), 1);

    mouse(tabs, wxEVT_LEFT_DOWN, {10, 80});
    EXPECT_EQ(tabs->getCurSel(), 1);
    EXPECT_EQ(events.selected, std::vector<int>{1});
    tabs->setCurSel(0);
    EXPECT_EQ(tabs->getSelection(), std::vector<int>{0}) << "one tab is selected at a time";
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = -120;
    wheel.m_wheelDelta = 120;
    tabs->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(tabs->getScrollOffset(), 0);

    // Horizontal: the tabs run in a row, as thick as the thickest picture.
    tabs->setVertical(false);
    EXPECT_EQ(tabs->getItemRect(1), wxRect(32, 0, 32, 71));
    tabs->setModule(nullptr);
    EXPECT_EQ(tabs->getItemRect(0).height, 24) << "without pictures the tabs are drawn by code";
    static_cast<GImageListViewer*>(tabs)->setItemCount(5);
    ASSERT_TRUE(tabs->getItem(4, item)) << "new tabs, however the count is set";
    EXPECT_EQ(item.text, "");
    tabs->Update(); // paints the empty tabs too
}

TEST_F(WidgetTest, ATabbedDialogShowsThePageOfTheClickedTab) {
    auto* tabs = new GImageTabCtrl(frame, wxID_ANY);
    tabs->setModule(thisModule());
    tabs->setVertical(true);
    tabs->SetPosition({0, 0});
    auto* dialog = new GTabbedDialog(PaletteTemplate, frame);
    dialog->setModule(TestDialogs.module());
    ASSERT_TRUE(dialog->Create());
    dialog->SetSize(40, 0, 120, 200);
    dialog->setTabControl(tabs);
    dialog->setPageArea({0, 10, 120, 190});
    auto* first = new wxPanel(dialog);
    auto* second = new wxPanel(dialog);
    EXPECT_EQ(dialog->addPage(first, "Scrap", "SCRAP"), 0);
    EXPECT_EQ(dialog->addPage(second, "Sets", "SETS"), 1);
    EXPECT_EQ(tabs->getItemCount(), 2);
    EXPECT_EQ(dialog->getActivePage(), -1);
    EXPECT_FALSE(first->IsShown());

    dialog->activatePage(0);
    EXPECT_TRUE(first->IsShown());
    EXPECT_EQ(first->GetRect(), wxRect(0, 10, 120, 190));
    EXPECT_EQ(tabs->getCurSel(), 0);
    mouse(tabs, wxEVT_LEFT_DOWN, {10, 80});
    EXPECT_EQ(dialog->getActivePage(), 1);
    EXPECT_FALSE(first->IsShown());
    EXPECT_TRUE(second->IsShown());
    mouse(tabs, wxEVT_LEFT_DOWN, {10, 190});
    EXPECT_EQ(dialog->getActivePage(), 1) << "a click beside the tabs keeps the page";
    EXPECT_EQ(tabs->getCurSel(), 1);
    dialog->activatePage(5);
    EXPECT_EQ(dialog->getActivePage(), 1);
    delete dialog;
    mouse(tabs, wxEVT_LEFT_DOWN, {10, 10}); // the dialog is gone: the strip reaches nothing
    EXPECT_EQ(tabs->getCurSel(), 0);

    // A strip that goes first is forgotten by the dialog, which then goes without reaching it.
    auto* again = new GTabbedDialog(PaletteTemplate, frame);
    again->setModule(TestDialogs.module());
    ASSERT_TRUE(again->Create());
    again->setTabControl(tabs);
    delete tabs;
    EXPECT_EQ(again->getTabControl(), nullptr);
    delete again;
}

TEST_F(WidgetTest, PictureViewsPlaceTheirPicture) {
    auto* view = new GDIBImageView(frame, wxID_ANY, {0, 0}, {100, 50});
    GDIBImage image(200, 40);
    image.full_fill(0xFF204080);
    view->set_image(image);
    EXPECT_EQ(view->pictureRect(), wxRect(-50, 5, 200, 40)) << "centred as it is";
    view->set_draw_type(GDIBImageView::TopLeft);
    EXPECT_EQ(view->pictureRect(), wxRect(0, 0, 200, 40));
    view->set_draw_type(GDIBImageView::Stretched);
    EXPECT_EQ(view->pictureRect(), wxRect(0, 0, 100, 50));
    view->set_draw_type(GDIBImageView::Fitted);
    EXPECT_EQ(view->pictureRect(), wxRect(0, 15, 100, 20)) << "shrunk keeping its proportions";
    view->set_image(GDIBImage(4, 4));
    EXPECT_EQ(view->pictureRect(), wxRect(48, 23, 4, 4)) << "never enlarged";
    view->set_image(GDIBImage(0, 0));
    EXPECT_TRUE(view->pictureRect().IsEmpty());

    auto* holder = new GPictureHolder(frame, wxID_ANY, {0, 60}, {64, 64});
    EXPECT_TRUE(holder->loadPicture(thisModule(), MAKEINTRESOURCEA(113)));
    EXPECT_EQ(holder->get_bitmap().GetSize(), wxSize(32, 54));
    EXPECT_FALSE(holder->loadPicture(thisModule(), MAKEINTRESOURCEA(114)));
    EXPECT_FALSE(holder->get_bitmap().IsOk());
}

TEST_F(WidgetTest, CursorsOfAModuleKeepTheirHotSpotAndAlpha) {
    HCURSOR move = LoadCursorA(thisModule(), "MOVE");
    ASSERT_NE(move, nullptr);
    const wxImage picture = GWxImage::CursorImage(move);
    ASSERT_TRUE(picture.HasAlpha());
    EXPECT_EQ(picture.GetAlpha(5, 5), 0x80);
    EXPECT_EQ(picture.GetRed(5, 5), 0xFF);
    EXPECT_EQ(picture.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_X), 3);
    EXPECT_EQ(picture.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_Y), 4);
    EXPECT_TRUE(GWxImage::CursorOf(move).IsOk());
    DestroyCursor(move);
    EXPECT_TRUE(GWxImage::CursorOf(nullptr).IsOk()) << "no cursor: the arrow";
}

TEST_F(WidgetTest, ThePanCursorIsFourArrowsAroundItsHotSpot) {
    HCURSOR pan = GCursorArt::Pan();
    const wxImage picture = GWxImage::CursorImage(pan);
    DestroyCursor(pan);
    ASSERT_EQ(picture.GetSize(), wxSize(GCursorArt::Size, GCursorArt::Size));
    EXPECT_EQ(picture.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_X), 12);
    EXPECT_EQ(picture.GetOptionInt(wxIMAGE_OPTION_CUR_HOTSPOT_Y), 12);
    EXPECT_EQ(picture.GetAlpha(12, 12), 255);
    EXPECT_GT(picture.GetRed(12, 12), 200) << "white inside";
    EXPECT_EQ(picture.GetAlpha(2, 2), 0) << "clear between the arrows";
    for (const wxPoint tip : {wxPoint(12, 4), wxPoint(4, 12), wxPoint(20, 12), wxPoint(12, 20)})
        EXPECT_GT(picture.GetAlpha(tip.x, tip.y), 128) << tip.x << "," << tip.y;
    std::filesystem::create_directories(KORVANE_SCREENSHOTS);
    picture.Scale(96, 96, wxIMAGE_QUALITY_NEAREST)
        .SaveFile(std::string(KORVANE_SCREENSHOTS) + "/pan-cursor.png", wxBITMAP_TYPE_PNG);
}

TEST_F(WidgetTest, TheFilePreviewShowsPicturesAndScenesAndNothingElse) {
    auto* preview = new GFilePreview(frame, GKorvaneDocManager::PreviewPicture);
    wxImage wide(400, 100);
    wide.SetRGB(wxRect(0, 0, 400, 100), 200, 30, 30);
    ASSERT_TRUE(wide.SaveFile("wide.png", wxBITMAP_TYPE_PNG));
    preview->showFile("wide.png");
    EXPECT_EQ(preview->caption(), "400 x 100");
    const wxBitmap shown = preview->picture()->get_bitmap();
    ASSERT_TRUE(shown.IsOk());
    EXPECT_LE(shown.GetWidth(), preview->picture()->GetClientSize().x) << "shrunk once, to the box";

    std::ofstream("noise.png", std::ios::binary) << "\x89PNG not really a picture";
    std::filesystem::create_directories("folder.png");
    for (const char* unreadable : {"noise.png", "folder.png", "missing.png", ""}) {
        preview->showFile(unreadable);
        EXPECT_FALSE(preview->picture()->get_bitmap().IsOk()) << unreadable;
        EXPECT_EQ(preview->caption(), "") << unreadable;
    }
}

// An open dialog for pictures that lets the test reach the framework's dialog while it is shown.
class WatchedFileDialog : public GImageFileDialog {
public:
    explicit WatchedFileDialog(wxWindow* parent)
        : GImageFileDialog(true, "Pictures|*.png", wxFD_FILE_MUST_EXIST, parent, GKorvaneDocManager::PreviewPicture) {}
    wxFileDialog* shown = nullptr;

protected:
    void prepare(wxFileDialog& dialog) override {
        GImageFileDialog::prepare(dialog);
        shown = &dialog;
    }
};

// The file chooser itself, with the preview beside its list following the file selected there; its picture is
// kept for the eye.
TEST_F(WidgetTest, TheOpenDialogPreviewsTheSelectedFile) {
    wxImage sky(300, 200);
    sky.SetRGB(wxRect(0, 0, 300, 200), 60, 140, 220);
    ASSERT_TRUE(sky.SaveFile("sky.png", wxBITMAP_TYPE_PNG));
    const GString chosen(std::filesystem::absolute("sky.png").c_str());
    GString previewed;
    WatchedFileDialog dialog(frame);
    dialog.SetPathName(chosen);
    // A timer, as the tests run inside an idle handler, where a modal loop runs no idle work of its own.
    wxTimer look;
    look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        auto* preview = dynamic_cast<GFilePreview*>(dialog.shown->GetExtraControl());
        for (int wait = 0; wait < 300 && preview != nullptr && preview->shownFile().isEmpty(); ++wait) {
            wxMilliSleep(10);
            wxYield();
        }
        if (preview != nullptr)
            previewed = preview->shownFile();
        // The toolkit's own dialog has no size of the framework's: the whole screen is taken.
        const wxSize size = wxGetDisplaySize();
        wxBitmap shot(size.x, size.y);
        {
            wxMemoryDC into(shot);
            wxScreenDC screen;
            into.Blit(0, 0, size.x, size.y, &screen, 0, 0);
        }
        std::filesystem::create_directories(KORVANE_SCREENSHOTS);
        shot.SaveFile(std::string(KORVANE_SCREENSHOTS) + "/open-dialog.png", wxBITMAP_TYPE_PNG);
        dialog.shown->EndModal(wxID_CANCEL);
    });
    look.StartOnce(50);
    EXPECT_EQ(dialog.DoModal(), 2) << "cancelled";
    EXPECT_EQ(previewed, chosen);
}

// A popup menu's items take their text and state from the window's update handlers before it shows.
TEST_F(WidgetTest, APopupMenuAsksTheWindowForItsItemsStates) {
    constexpr int Gone = 5001;
    constexpr int Kept = 5002;
    frame->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            event.Enable(false);
            event.SetText("Gone\tCtrl+G");
        },
        Gone);
    wxMenu menu;
    menu.Append(Gone, "Going");
    menu.AppendSeparator();
    wxMenu* more = new wxMenu;
    more->AppendCheckItem(Kept, "Kept");
    menu.AppendSubMenu(more, "More");
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(true); }, Kept);
    wxTimer close;
    close.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
        settle();
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    close.StartOnce(50);
    EXPECT_EQ(GMenu::TrackPopupMenu(menu, *frame, {20, 20}), wxID_NONE) << "left without a choice";
    EXPECT_FALSE(menu.FindItem(Gone)->IsEnabled());
    EXPECT_EQ(menu.FindItem(Gone)->GetItemLabel(), "Gone\tCtrl+G");
    EXPECT_TRUE(menu.FindItem(Kept)->IsChecked()) << "items of submenus too";
}

TEST_F(WidgetTest, AToolBarKeepsItsButtonsStates) {
    auto* tools = new GToolBarCtrl(frame, wxID_ANY);
    tools->addButton(101, shaftPicture(16, 16), "Back");
    tools->addSeparator();
    tools->addButton(102, shaftPicture(16, 16), "Favourites", true);
    tools->Realize();
    EXPECT_EQ(tools->getButtonCount(), 3);
    tools->enableButton(101, false);
    EXPECT_FALSE(tools->isButtonEnabled(101));
    EXPECT_TRUE(tools->isButtonEnabled(102));
}

TEST_F(WidgetTest, HelpersForWheelsMarginsQueuesAndFrames) {
    // The wheel: lines by the setting, a short turn as one line, pages when the setting says so.
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelDelta = 120;
    wheel.m_linesPerAction = 3;
    wheel.m_wheelRotation = 240;
    EXPECT_EQ(GOnMouseWheel(wheel).lines, -6) << "two notches away from the person: up";
    wheel.m_wheelRotation = -10;
    EXPECT_EQ(GOnMouseWheel(wheel).lines, 1);
    wheel.m_wheelRotation = 0;
    EXPECT_EQ(GOnMouseWheel(wheel).lines, 0);
    wheel.m_wheelRotation = 120;
    wheel.m_linesPerAction = static_cast<int>(-1); // the desktop's "a page per notch"
    wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    if (wheel.IsPageScroll()) {
        EXPECT_TRUE(GOnMouseWheel(wheel).page);
        EXPECT_EQ(GOnMouseWheel(wheel).lines, -1);
    }

    // The margin filled around the hole, the hole left as it was; a hole outside fills all.
    wxBitmap canvas(10, 8, 24);
    {
        wxMemoryDC dc(canvas);
        dc.SetBackground(*wxBLACK_BRUSH);
        dc.Clear();
        GFillSolidDifference(dc, wxRect(0, 0, 10, 8), wxRect(2, 3, 5, 2), *wxWHITE);
    }
    const wxImage filled = canvas.ConvertToImage();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool hole = x >= 2 && x < 7 && y >= 3 && y < 5;
            ASSERT_EQ(filled.GetRed(x, y), hole ? 0 : 255) << x << "," << y;
        }

    // Queued notices of one type taken out, the others kept and still handled.
    int notices = 0;
    int others = 0;
    frame->Bind(wxEVT_COMMAND_ENTER, [&](wxCommandEvent&) { ++notices; });
    frame->Bind(wxEVT_COMMAND_SET_FOCUS, [&](wxCommandEvent&) { ++others; });
    for (int i = 0; i < 3; ++i)
        frame->GetEventHandler()->QueueEvent(new wxCommandEvent(wxEVT_COMMAND_ENTER));
    frame->GetEventHandler()->QueueEvent(new wxCommandEvent(wxEVT_COMMAND_SET_FOCUS));
    EXPECT_EQ(GRemoveMessageFromQueue(*frame->GetEventHandler(), wxEVT_COMMAND_ENTER), 3);
    settle();
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(others, 1);
    frame->GetEventHandler()->QueueEvent(new wxCommandEvent(wxEVT_COMMAND_ENTER));
    EXPECT_EQ(GRemoveMessageFromQueue(*frame->GetEventHandler(), wxEVT_COMMAND_ENTER), 1);
    settle(); // a handler left with an empty queue is not served
    EXPECT_EQ(GRemoveMessageFromQueue(*frame->GetEventHandler(), wxEVT_COMMAND_ENTER), 0);

    // The skin's picture buttons have no frame; a framed window's frame is half its outer less its inner size.
    auto* framed = new wxPanel(frame, wxID_ANY, {0, 0}, {40, 30}, wxBORDER_SIMPLE);
    const wxSize edge = GGetButtonFrameSize(*framed);
    EXPECT_EQ(edge.x, (40 - framed->GetClientSize().x) / 2);
    EXPECT_GE(edge.x, 0);
}

// The widgets together in one window, written as a picture to look at.
TEST_F(WidgetTest, APictureOfTheWidgets) {
    auto* tabs = new GImageTabCtrl(frame, wxID_ANY);
    tabs->setModule(thisModule());
    tabs->setVertical(true);
    tabs->insertItem(0, {"Scrap", "SCRAP"});
    tabs->insertItem(1, {"Sets", "SETS"});
    tabs->insertItem(2, {"Props", ""});
    tabs->setCurSel(0);
    tabs->sizeToContent();
    auto* list = new GImageListViewer(frame, wxID_ANY, {40, 0}, {130, 200});
    list->setColumns(2);
    list->setItemSize({64, 64});
    list->setMultipleSelection(true);
    list->setItemCount(9);
    for (int i = 0; i < 9; ++i)
        list->setBitmap(i, shaftPicture(30 + 10 * (i % 3), 40));
    list->select(1);
    list->select(4);
    auto* bar = new GImageScrollBar(frame, wxID_ANY, shaftPicture(15, 100), shaftPicture(13, 30));
    bar->SetSize(172, 0, 15, 200);
    list->attachScrollBar(bar);
    auto* row = new GImageTabCtrl(frame, wxID_ANY);
    row->SetPosition({200, 0});
    row->insertItem(0, {"Input", ""});
    row->insertItem(1, {"Layout", ""});
    row->insertItem(2, {"Output", ""});
    row->setCurSel(1);
    row->sizeToContent();
    settle();
    const wxRect window = frame->GetScreenRect();
    wxBitmap shot(window.width, window.height);
    {
        wxMemoryDC into(shot);
        wxScreenDC screen;
        into.Blit(0, 0, window.width, window.height, &screen, window.x, window.y);
    }
    std::filesystem::create_directories(KORVANE_SCREENSHOTS);
    EXPECT_TRUE(shot.SaveFile(std::string(KORVANE_SCREENSHOTS) + "/widgets.png", wxBITMAP_TYPE_PNG));
}
