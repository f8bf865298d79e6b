#include "Dialogs/GFileDialog.h"

#include "Preferences/GPreference.h"

#include <wx/filename.h>

namespace {

constexpr const char* DialogSection = "Dialogs";

} // namespace

GFileDialog::GFileDialog(bool open, const char* filter, long style, wxWindow* parent)
    : m_filter(filter), m_style(style | (open ? wxFD_OPEN : wxFD_SAVE)), m_parent(parent) {}

void GFileDialog::prepare(wxFileDialog&) {}

int GFileDialog::DoModal() {
    const wxFileName given(wxString::FromUTF8(m_path));
    wxString folder = given.GetPath();
    if (folder.empty() && !m_key.isEmpty())
        folder = wxString::FromUTF8(GPreference::ReadPrefString(DialogSection, m_key, ""));
    wxFileDialog dialog(m_parent, wxString::FromUTF8(m_title), folder, given.GetFullName(),
                        wxString::FromUTF8(m_filter), m_style);
    prepare(dialog);
    if (dialog.ShowModal() != wxID_OK)
        return 2;
    m_path = dialog.GetPath().utf8_str();
    if (!m_key.isEmpty())
        GPreference::WritePrefString(DialogSection, m_key, wxFileName(dialog.GetPath()).GetPath().utf8_str());
    return 1;
}
