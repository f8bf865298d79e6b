#include "Dialogs/GImageFileDialog.h"

namespace {

// The loader of the dialog being shown: the framework makes the preview through a plain function. File dialogs
// are modal, so one is shown at a time.
GFilePreview::Loader* shownLoader = nullptr;

// The preview follows the file selected in the dialog's list.
wxWindow* makePreview(wxWindow* parent) {
    auto* preview = new GFilePreview(parent, shownLoader != nullptr ? *shownLoader : GFilePreview::Loader());
    shownLoader = nullptr;
    if (auto* dialog = dynamic_cast<wxFileDialog*>(parent))
        preview->follow([dialog] { return GString(dialog->GetCurrentlySelectedFilename().utf8_str()); });
    return preview;
}

} // namespace

GImageFileDialog::GImageFileDialog(bool open, const char* filter, long style, wxWindow* parent,
                                   GFilePreview::Loader loader)
    : GFileDialog(open, filter, style, parent), m_loader(std::move(loader)) {}

void GImageFileDialog::prepare(wxFileDialog& dialog) {
    shownLoader = &m_loader;
    dialog.SetExtraControlCreator(makePreview);
}
