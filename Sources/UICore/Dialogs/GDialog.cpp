#include "Dialogs/GDialog.h"

#include "Dialogs/ModuleDialogs.h"

GDialog::GDialog(UINT id, wxWindow* parent) : m_templateId(id), m_parent(parent) {}

bool GDialog::Create() {
    if (m_module == nullptr || !ModuleDialogs::LoadDialog(m_module, m_templateId, *this, m_parent))
        return false;
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, wxID_CANCEL);
    OnInitDialog();
    UpdateData(false);
    return true;
}

bool GDialog::UpdateData(bool save) {
    DoDataExchange(save);
    return true;
}

void GDialog::DoDataExchange(bool) {}

void GDialog::OnInitDialog() {}

void GDialog::OnOK() {
    UpdateData(true);
    OnClose();
}

void GDialog::OnCancel() {
    OnClose();
}

void GDialog::OnClose() {
    Destroy();
}
