// The program driven as a person drives it: pictures opened, objects pasted and dropped in, clicked, deleted,
// undone and redone through the menu commands, zoomed, saved and reopened; the menus as the settings make them;
// the question before unsaved changes are dropped; pictures of the main window's states for the eye.

#include "Application/GKorvaneApp.h"
#include "Clipboard/GKorvaneDataSource.h"
#include "Document/GKorvaneDoc.h"
#include "DragDrop/GWndDropTarget.h"
#include "Drawing/GWxImage.h"
#include "Framework/GEventCmdUI.h"
#include "Preferences/GPreference.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Shell/GMainFrame.h"
#include "Shell/GScenePrintout.h"
#include "Shell/GSelectObjectTypeDialog.h"
#include "UI/Document/DocumentTesting.h"
#include "UI/Shell/ShellTesting.h"
#include "Views/GKorvaneView.h"
#include "Views/GKorvaneViewDC.h"
#include "gdi/GdiDrawing.h"

#include <gtest/gtest.h>

#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/dcscreen.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/process.h>
#include <wx/stockitem.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace shelltest;

TEST(KorvaneShell, APersonComposesSavesAndReopensAScene) {
    writePicture("beach.png", 200, 120, 0xFF3080C0);
    writePicture("ball.png", 20, 20, 0xFFE02020);
    writePicture("boat.png", 30, 10, 0xFF20A040);
    open("beach.png");
    ASSERT_EQ(document()->getModel()->get_width(), 200);
    EXPECT_EQ(wxFileName(document()->GetFilename()).GetFullName(), "beach.kor") << "a picture is saved as a scene";
    EXPECT_FALSE(enabled("UndoImageCommand"));

    // A picture pasted from another program, and one dropped from the file manager, both as objects.
    const AnswerPictureType asObjects(GCompoundModel::TypeObject);
    {
        GSprite pixels(20, 20);
        pixels.full_fill(0xFFE02020);
        auto* picture = new wxCustomDataObject(wxDataFormat("image/png"));
        const std::vector<unsigned char> png = GWxImage::EncodePng(pixels);
        picture->SetData(png.size(), png.data());
        ASSERT_TRUE(wxTheClipboard->Open());
        wxTheClipboard->SetData(picture);
        wxTheClipboard->Close();
    }
    ASSERT_TRUE(enabled("PasteImageCommand"));
    command("PasteImageCommand");
    ASSERT_EQ(childNames(), std::vector<std::string>{"Layer"});
    wxFileDataObject files;
    files.AddFile(std::filesystem::absolute("boat.png").string());
    const std::size_t sounds = PlayedSounds().size();
    ASSERT_TRUE(drop({150, 90}, files));
    EXPECT_EQ(PlayedSounds().size(), sounds + 1);
    EXPECT_EQ(PlayedSounds().back(), "Korvane_ObjectDropped");
    EXPECT_EQ(GPreference::ReadPrefString("Sounds", "Korvane_ObjectDropped", ""), "button-released")
        << "the desktop sound of the event, from the default settings";
    ASSERT_EQ(childNames(), (std::vector<std::string>{"Layer", "boat"}));
    const GCompoundModel* boat = document()->getModel()->getChild(1);
    EXPECT_EQ(boat->getOrigin().x, 135) << "centred where it was dropped";
    EXPECT_EQ(boat->getOrigin().y, 85);

    // A click on the pasted object selects it and brings it to the top; Delete removes it.
    const GCompoundModel* pasted = document()->getModel()->getChild(0);
    click({pasted->getOrigin().x + 5, pasted->getOrigin().y + 5});
    EXPECT_EQ(document()->getSelectedModel(), pasted);
    EXPECT_EQ(childNames(), (std::vector<std::string>{"boat", "Layer"}));
    saveScreenshot("selected-object.png");
    command("DeleteImageCommand");
    EXPECT_EQ(childNames(), std::vector<std::string>{"boat"});

    // Each step undone and done again.
    command("UndoImageCommand");
    EXPECT_EQ(childNames(), (std::vector<std::string>{"boat", "Layer"}));
    command("UndoImageCommand");
    EXPECT_EQ(childNames(), (std::vector<std::string>{"Layer", "boat"}));
    command("RedoImageCommand");
    command("RedoImageCommand");
    EXPECT_EQ(childNames(), std::vector<std::string>{"boat"});
    EXPECT_FALSE(enabled("RedoImageCommand"));

    // Zoom in and back.
    command(wxID_ZOOM_IN);
    EXPECT_EQ(view()->getZoom(), GViewZoom(2, 1));
    command(wxID_ZOOM_100);
    EXPECT_EQ(view()->getZoom(), GViewZoom(1, 1));

    // Saved, closed, reopened unchanged.
    const GSprite before = document()->getModel()->getCombinedImage();
    ASSERT_TRUE(document()->OnSaveDocument("composed.kor"));
    EXPECT_FALSE(document()->IsModified());
    open("composed.kor");
    EXPECT_EQ(childNames(), std::vector<std::string>{"boat"});
    const GSprite& after = document()->getModel()->getCombinedImage();
    ASSERT_EQ(after.get_width(), before.get_width());
    for (int y = 0; y < before.get_height(); ++y)
        for (int x = 0; x < before.get_width(); ++x)
            ASSERT_EQ(after.get_pixel(x, y), before.get_pixel(x, y)) << x << ", " << y;
}

TEST(KorvaneShell, CopiedObjectsPasteAsCopiesAndCutIsOneStep) {
    writePicture("sky.png", 100, 80, 0xFF8090A0);
    open("sky.png");
    ASSERT_TRUE(dropPictureFile("kite.png", 10, 10, 0xFFFFC000, {20, 20}));
    command("CopyImageCommand");
    command("PasteImageCommand"); // models of this program paste without asking
    ASSERT_EQ(childNames(), (std::vector<std::string>{"kite", "kite"}));
    EXPECT_NE(document()->getModel()->getChild(0), document()->getModel()->getChild(1));
    command("CutImageCommand");
    EXPECT_EQ(childNames(), std::vector<std::string>{"kite"});
    // The form's Undo button runs the same context as the menu.
    wxWindow* undo = wxWindow::FindWindowByName("UndoImageCommand", frame());
    ASSERT_NE(undo, nullptr);
    wxCommandEvent press(wxEVT_BUTTON, undo->GetId());
    press.SetEventObject(undo);
    undo->GetEventHandler()->ProcessEvent(press);
    EXPECT_EQ(childNames(), (std::vector<std::string>{"kite", "kite"}));
    // A button whose context no module brings does nothing.
    const wxWindow* background = wxWindow::FindWindowByName("SelectBackgroundCommand", frame());
    ASSERT_NE(background, nullptr);
    EXPECT_FALSE(background->IsEnabled());
    // A drop outside the scene takes nothing.
    wxFileDataObject files;
    files.AddFile(std::filesystem::absolute("kite.png").string());
    EXPECT_FALSE(drop({500, 500}, files));
}

TEST(KorvaneShell, MenusComeFromTheSettingsAndShowTheContexts) {
    wxMenuBar* bar = frame()->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_GE(bar->GetMenuCount(), 3u);
    EXPECT_EQ(bar->GetMenuLabelText(0), "File");
    EXPECT_EQ(bar->GetMenuLabelText(1), "Edit");
    wxMenuItem* undo = bar->FindItem(menuIdOf("UndoImageCommand"));
    ASSERT_NE(undo, nullptr);
    wxUpdateUIEvent update(undo->GetId());
    frame()->GetEventHandler()->ProcessEvent(update);
    EXPECT_EQ(update.GetText(), "&Undo\tCtrl+Z");
    EXPECT_EQ(undo->GetHelp(), "Undo the last change") << "the context's prompt";
    ASSERT_NE(bar->FindItem(wxID_OPEN), nullptr);
    EXPECT_EQ(bar->FindItem(wxID_OPEN)->GetHelp(), wxGetStockHelpString(wxID_OPEN));
    const std::unique_ptr<wxMenu> object(GMainFrame::buildMenu("Menus\\Object"));
    EXPECT_NE(object->FindItem(menuIdOf("DeleteImageCommand")), nullptr);
    const std::unique_ptr<wxMenu> background(GMainFrame::buildMenu("Menus\\Background"));
    EXPECT_EQ(background->FindItem(menuIdOf("DeleteImageCommand")), nullptr);
    EXPECT_EQ(GMainFrame::findContextByID(GKorvaneApp::LastContextCommand + 1), nullptr);
    // Tool tips as the setting says: the prompt with the key, the menu text, or none.
    const UINT undoCommand = GKorvaneApp::CommandOf(menuIdOf("UndoImageCommand"));
    EXPECT_EQ(GMainFrame::getToolTipText(undoCommand), "Undo the last change - Ctrl+Z");
    GKorvaneApp::Get()->setToolTipsType(GKorvaneApp::ToolTipsShort);
    EXPECT_EQ(GMainFrame::getToolTipText(undoCommand), "Undo");
    GKorvaneApp::Get()->setToolTipsType(GKorvaneApp::ToolTipsNone);
    EXPECT_EQ(GMainFrame::getToolTipText(undoCommand), "");
    GKorvaneApp::Get()->setToolTipsType(GKorvaneApp::ToolTipsLong);
}

TEST(KorvaneShell, UnsavedChangesAreNeverDroppedWithoutAsking) {
    writePicture("field.png", 40, 30, 0xFF40A040);
    open("field.png");
    ASSERT_TRUE(dropPictureFile("cow.png", 6, 4, 0xFF000000, {10, 10}));
    ASSERT_TRUE(document()->IsModified());
    const GKorvaneDoc* modified = document();
    {
        const MessageBoxAnswers cancel(IDCANCEL);
        command("NewImageCommand");
        ASSERT_EQ(cancel.asked.size(), 1u);
        EXPECT_NE(cancel.asked[0].find("save the changes"), std::string::npos);
        EXPECT_EQ(document(), modified);
        EXPECT_EQ(childNames(), std::vector<std::string>{"cow"});
    }
    const MessageBoxAnswers dropThem(IDNO);
    command("NewImageCommand");
    EXPECT_EQ(dropThem.asked.size(), 1u);
    EXPECT_EQ(document()->getModel()->getChildCount(), 0);
    EXPECT_EQ(document()->getModel()->get_width(), GKorvaneDoc::DefaultModelSize.cx);
    saveScreenshot("empty-scene.png");
}

TEST(KorvaneShell, PrintingPutsTheSceneOnThePageScaledAndCentred) {
    writePicture("wide.png", 40, 20, 0xFF2050A0);
    open("wide.png");
    // A page of 300 x 400 printer pixels at the screen's resolution: the scene fills the width, centred.
    wxBitmap page(300, 400);
    wxMemoryDC dc(page);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    GScenePrintout printout(document());
    printout.SetDC(&dc);
    printout.SetPPIScreen(96, 96);
    printout.SetPPIPrinter(96, 96);
    printout.SetPageSizePixels(300, 400);
    printout.SetPaperRectPixels(wxRect(0, 0, 300, 400));
    ASSERT_TRUE(printout.OnPrintPage(1));
    dc.SelectObject(wxNullBitmap);
    const wxImage printed = page.ConvertToImage();
    EXPECT_EQ(printed.GetRed(150, 200), 0x20);
    EXPECT_EQ(printed.GetBlue(150, 200), 0xA0);
    EXPECT_EQ(printed.GetBlue(2, 126), 0xA0) << "the scene spans the page's width";
    EXPECT_EQ(printed.GetRed(150, 120), 0xFF) << "white above the centred scene";
    EXPECT_EQ(printed.GetRed(150, 280), 0xFF) << "white below it";
    EXPECT_FALSE(printout.OnPrintPage(2));

    // Printed to a PostScript file through the framework's printing.
    wxPrintData data;
    data.SetFilename("page.ps");
    data.SetPrintMode(wxPRINT_MODE_FILE);
    wxPostScriptDC file(data);
    ASSERT_TRUE(file.IsOk());
    GScenePrintout toFile(document());
    toFile.SetDC(&file);
    toFile.SetPPIScreen(96, 96);
    toFile.SetPPIPrinter(file.GetResolution(), file.GetResolution());
    const wxSize pixels = file.GetSize();
    toFile.SetPageSizePixels(pixels.x, pixels.y);
    toFile.SetPaperRectPixels(wxRect(pixels));
    ASSERT_TRUE(file.StartDoc("scene"));
    file.StartPage();
    EXPECT_TRUE(toFile.OnPrintPage(1));
    file.EndPage();
    file.EndDoc();
    std::ifstream written("page.ps");
    std::string first;
    std::getline(written, first);
    EXPECT_EQ(first.rfind("%!PS", 0), 0u);
}

TEST(KorvaneShell, ASecondStartHandsItsFileToTheRunningProgram) {
    writePicture("handed.png", 30, 20, 0xFF804020);
    document()->Modify(false);
    // The second program runs with this one's settings store, so it finds this one and hands the file over.
    wxProcess second;
    bool ended = false;
    int status = -1;
    second.Bind(wxEVT_END_PROCESS, [&](wxProcessEvent& event) {
        ended = true;
        status = event.GetExitCode();
    });
    ASSERT_GT(
        wxExecute(wxString(KORVANE) + " " + std::filesystem::absolute("handed.png").string(), wxEXEC_ASYNC, &second),
        0);
    for (int wait = 0; wait < 1000 && !ended; ++wait) {
        wxMilliSleep(10);
        wxYield();
    }
    ASSERT_TRUE(ended);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(wxFileName(document()->GetFilename()).GetFullName(), "handed.kor");
    EXPECT_EQ(document()->getModel()->get_width(), 30);
}

TEST(KorvaneShell, ToolFeedbackDrawnWithXorIsShownAndTakenAwayExactly) {
    writePicture("plain.png", 120, 80, 0xFF6080A0);
    open("plain.png");
    const wxImage before = view()->renderImage();
    const auto outline = [] {
        GKorvaneViewDC dc;
        ASSERT_NE(dc.get(), nullptr);
        const int previous = SetROP2(dc, R2_NOT);
        MoveToEx(dc, 10, 10, nullptr);
        LineTo(dc, 60, 10);
        SetROP2(dc, previous);
        dc.touched({10, 10, 60, 11});
    };
    outline();
    wxYield();
    // The scene's (10, 10) lies where the view centres it; the line shows there, inverted.
    POINT at{30, 10};
    view()->LPtoDP(at);
    const wxImage drawn = view()->renderImage();
    EXPECT_EQ(drawn.GetRed(at.x, at.y), 0xFF - 0x60);
    EXPECT_EQ(drawn.GetBlue(at.x, at.y), 0xFF - 0xA0);
    // A repaint of the window keeps it; drawn again, it is gone to the last pixel.
    view()->Refresh(false);
    wxYield();
    EXPECT_EQ(view()->renderImage().GetRed(at.x, at.y), 0xFF - 0x60);
    outline();
    const wxImage after = view()->renderImage();
    ASSERT_EQ(after.GetWidth(), before.GetWidth());
    EXPECT_EQ(std::memcmp(after.GetData(), before.GetData(), 3u * after.GetWidth() * after.GetHeight()), 0);
    // Feedback left behind goes when the scene under it changes.
    outline();
    document()->getModel()->invalidate();
    EXPECT_EQ(view()->renderImage().GetRed(at.x, at.y), 0x60);
}

TEST(KorvaneShell, ShortcutKeysRunTheirContextsOnceButNotWhileTyping) {
    writePicture("keys.png", 50, 40, 0xFF406080);
    open("keys.png");
    ASSERT_TRUE(dropPictureFile("key.png", 5, 5, 0xFF000000, {10, 10}));
    ASSERT_TRUE(dropPictureFile("lock.png", 5, 5, 0xFF000000, {30, 30}));
    frame()->GetMenuBar()->UpdateMenus(); // the menu items show their keys, as after opening the menus
    EXPECT_EQ(frame()->GetMenuBar()->FindItem(menuIdOf("UndoImageCommand"))->GetItemLabel(), "&Undo\tCtrl+Z");
    frame()->Raise();
    view()->SetFocus();
    for (int wait = 0; wait < 50; ++wait)
        wxYield();
    wxUIActionSimulator keys;
    keys.Char('z', wxMOD_CONTROL);
    for (int wait = 0; wait < 50; ++wait) {
        wxMilliSleep(5);
        wxYield();
    }
    EXPECT_EQ(childNames(), std::vector<std::string>{"key"}) << "one undo step for one key press";
    // Typed into a text field, the key is the field's (its own undo), never a step of the scene.
    auto* field = new wxTextCtrl(frame(), wxID_ANY, "", wxPoint(620, 500), wxSize(100, 24));
    field->SetFocus();
    for (int wait = 0; wait < 50; ++wait)
        wxYield();
    keys.Text("ab");
    keys.Char('z', wxMOD_CONTROL);
    for (int wait = 0; wait < 50; ++wait) {
        wxMilliSleep(5);
        wxYield();
    }
    EXPECT_EQ(childNames(), std::vector<std::string>{"key"});
    EXPECT_EQ(field->GetValue(), "ab") << "the typing went to the field";
    field->Destroy();
}

TEST(KorvaneShell, TheContextMenuOfAnObjectActsOnThatObject) {
    writePicture("table.png", 100, 80, 0xFF705030);
    open("table.png");
    ASSERT_TRUE(dropPictureFile("cup.png", 12, 12, 0xFFF0F0F0, {30, 30}));
    ASSERT_TRUE(dropPictureFile("plate.png", 12, 12, 0xFF202020, {70, 50}));
    GCompoundModel* cup = document()->getModel()->getChild(0);
    ASSERT_NE(document()->getSelectedModel(), cup) << "the menu acts on the clicked object, not the selection";
    // While the menu is open: its picture, then its "Delete" chosen by its mnemonic.
    wxTheApp->CallAfter([] {
        for (int wait = 0; wait < 20; ++wait) {
            wxMilliSleep(10);
            wxYield();
        }
        const wxRect window = frame()->GetScreenRect();
        wxBitmap shot(window.width, window.height);
        {
            wxMemoryDC into(shot);
            wxScreenDC screen;
            into.Blit(0, 0, window.width, window.height, &screen, window.x, window.y);
        }
        std::filesystem::create_directories(KORVANE_SCREENSHOTS);
        shot.SaveFile(std::string(KORVANE_SCREENSHOTS) + "/context-menu.png", wxBITMAP_TYPE_PNG);
        wxUIActionSimulator().Char('d');
    });
    POINT at{30, 30};
    view()->LPtoDP(at);
    wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, view()->GetId(), view()->ClientToScreen(wxPoint(at.x, at.y)));
    menu.SetEventObject(view());
    view()->GetEventHandler()->ProcessEvent(menu);
    wxYield();
    EXPECT_EQ(childNames(), std::vector<std::string>{"plate"});
    EXPECT_EQ(document()->getWorkingModel(), nullptr);
}
