#pragma once
// GFileDialog: the framework's file dialog that remembers its folder under a settings key, so each kind of file
// (scenes, pictures, opened or saved) starts where the user last was.

#include "Text/GString.h"

#include <wx/filedlg.h>

class GFileDialog {
public:
    // `filter` in the form "text|patterns|text|patterns"; `style` the framework's file dialog style.
    GFileDialog(bool open, const char* filter, long style, wxWindow* parent = nullptr);
    virtual ~GFileDialog() = default;

    void SetTitle(const char* title) { m_title = title; }
    // The value under which the folder is kept (in the "Dialogs" settings section).
    void SetRegistryKey(const char* key) { m_key = key; }
    void SetPathName(const char* path) { m_path = path; }
    // 1 when the user chose a file (its path is then GetPathName()), else 2.
    int DoModal();
    const GString& GetPathName() const { return m_path; }

protected:
    // Called with the framework's dialog before it is shown.
    virtual void prepare(wxFileDialog& dialog);

private:
    GString m_filter;
    long m_style;
    wxWindow* m_parent;
    GString m_title;
    GString m_key;
    GString m_path;
};
