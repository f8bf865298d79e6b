#include "Shell/GSelectObjectTypeDialog.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

GSelectObjectTypeDialog::AnswerHandler& answerHandler() {
    static GSelectObjectTypeDialog::AnswerHandler handler;
    return handler;
}

} // namespace

GSelectObjectTypeDialog::GSelectObjectTypeDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Type of Image") {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, "Would like insert image as:"), 0, wxALL, 10);
    m_object = new wxRadioButton(this, 1026, "Object", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_background = new wxRadioButton(this, 1027, "Background");
    column->Add(m_object, 0, wxLEFT | wxRIGHT, 20);
    column->Add(m_background, 0, wxLEFT | wxRIGHT | wxTOP, 20);
    column->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 10);
    SetSizerAndFit(column);
    m_object->SetValue(false);
    m_background->SetValue(false);
}

void GSelectObjectTypeDialog::setType(GCompoundModel::Type type) {
    m_object->SetValue(type == GCompoundModel::TypeObject);
    m_background->SetValue(type == GCompoundModel::TypeBackground);
}

GCompoundModel::Type GSelectObjectTypeDialog::getType() const {
    if (m_object->GetValue())
        return GCompoundModel::TypeObject;
    return m_background->GetValue() ? GCompoundModel::TypeBackground : GCompoundModel::TypeUnknown;
}

GCompoundModel::Type GSelectObjectTypeDialog::Ask(GCompoundModel::Type preset) {
    if (answerHandler())
        return answerHandler()(preset);
    GSelectObjectTypeDialog dialog(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr);
    dialog.setType(preset);
    return dialog.ShowModal() == wxID_OK ? dialog.getType() : GCompoundModel::TypeUnknown;
}

void GSelectObjectTypeDialog::SetAnswerHandler(AnswerHandler handler) {
    answerHandler() = std::move(handler);
}
