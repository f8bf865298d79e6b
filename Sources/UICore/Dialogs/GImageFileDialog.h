#pragma once
// GImageFileDialog: the file dialog for pictures and scenes, with a preview of the file under the cursor beside
// its list (GFilePreview, with the caller's loader).

#include "Dialogs/GFileDialog.h"
#include "Dialogs/GFilePreview.h"

class GImageFileDialog : public GFileDialog {
public:
    GImageFileDialog(bool open, const char* filter, long style, wxWindow* parent, GFilePreview::Loader loader);

protected:
    void prepare(wxFileDialog& dialog) override;

private:
    GFilePreview::Loader m_loader;
};
