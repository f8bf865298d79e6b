#include "UI/Shell/ShellTesting.h"

#include "Application/GKorvaneApp.h"
#include "Document/GKorvaneDoc.h"
#include "DragDrop/GWndDropTarget.h"
#include "Drawing/GWxImage.h"
#include "Framework/GEventCmdUI.h"
#include "Shell/GKorvaneUserInterface.h"
#include "Shell/GSelectObjectTypeDialog.h"
#include "Views/GKorvaneView.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/docview.h>

#include <filesystem>
#include <fstream>

namespace shelltest {

void writePicture(const char* path, int width, int height, DWORD pixel) {
    GSprite picture(width, height);
    picture.full_fill(pixel);
    const std::vector<unsigned char> png = GWxImage::EncodePng(picture);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
}

wxFrame* frame() {
    return dynamic_cast<wxFrame*>(wxTheApp->GetTopWindow());
}

GKorvaneDoc* document() {
    return GKorvaneDoc::GetActiveDocument();
}

GKorvaneView* view() {
    return GKorvaneDoc::GetActiveView();
}

int menuIdOf(const char* className) {
    const GEditorContext* context = GKorvaneApp::Get()->findContextByName(className);
    EXPECT_NE(context, nullptr) << className;
    return context != nullptr ? GKorvaneApp::MenuIdOf(context->getCommandID()) : 0;
}

void command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame());
    frame()->GetEventHandler()->ProcessEvent(event);
    wxYield();
}

void command(const char* className) {
    command(menuIdOf(className));
}

bool enabled(const char* className) {
    return GCommandEnabled(*frame(), menuIdOf(className));
}

void click(POINT model) {
    view()->LPtoDP(model);
    for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(model.x, model.y));
        event.SetEventObject(view());
        event.m_leftDown = type == wxEVT_LEFT_DOWN;
        view()->GetEventHandler()->ProcessEvent(event);
    }
    wxYield();
}

bool drop(POINT model, const wxDataObject& data) {
    view()->LPtoDP(model);
    const bool taken = static_cast<GWndDropTarget*>(view()->GetDropTarget())->drop({model.x, model.y}, data);
    wxYield();
    return taken;
}

void open(const char* path) {
    document()->Modify(false);
    ASSERT_NE(wxDocManager::GetDocumentManager()->CreateDocument(path, wxDOC_SILENT), nullptr) << path;
    wxYield();
}

std::vector<std::string> childNames() {
    std::vector<std::string> names;
    const GCompoundModel* root = document()->getModel();
    for (int i = 0; i < root->getChildCount(); ++i)
        names.emplace_back(static_cast<const char*>(root->getChild(i)->getName()));
    return names;
}

AnswerPictureType::AnswerPictureType(GCompoundModel::Type answer) {
    GSelectObjectTypeDialog::SetAnswerHandler([answer](GCompoundModel::Type) { return answer; });
}

AnswerPictureType::~AnswerPictureType() {
    GSelectObjectTypeDialog::SetAnswerHandler({});
}

bool dropPictureFile(const char* name, int width, int height, DWORD pixel, POINT at) {
    const AnswerPictureType asObject(GCompoundModel::TypeObject);
    writePicture(name, width, height, pixel);
    wxFileDataObject files;
    files.AddFile(std::filesystem::absolute(name).string());
    return drop(at, files);
}

void saveScreenshot(const char* name) {
    const auto* face = dynamic_cast<GKorvaneUserInterface*>(document()->GetFirstView());
    ASSERT_NE(face, nullptr);
    std::filesystem::create_directories(KORVANE_SCREENSHOTS);
    EXPECT_TRUE(face->renderImage().SaveFile(std::string(KORVANE_SCREENSHOTS) + "/" + name, wxBITMAP_TYPE_PNG));
}

} // namespace shelltest
