#pragma once
// GFilePreview: the preview beside an image file dialog's list: the picture of the file under the cursor, shrunk
// to fit, and its size in pixels. A loader of the caller's reads the file (the program's own formats, scenes as
// their composed picture); a file it cannot read shows an empty box and no size.

#include "Text/GString.h"

#include <wx/image.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include <functional>

class GDIBImageView;
class wxStaticText;

class GFilePreview : public wxPanel {
public:
    // The picture of a file, or an invalid image when it has none.
    using Loader = std::function<wxImage(const GString& path)>;

    GFilePreview(wxWindow* parent, Loader loader);

    // Shows the file (nothing for an empty path); the same path again is not read again.
    void showFile(const GString& path);
    // Shows, a few times a second, the file that `selected` names (the dialog's current file).
    void follow(std::function<GString()> selected);
    const GString& shownFile() const { return m_path; }
    GDIBImageView* picture() const { return m_picture; }
    wxString caption() const;

private:
    Loader m_loader;
    std::function<GString()> m_selected;
    wxTimer m_timer;
    GString m_path;
    GDIBImageView* m_picture;
    wxStaticText* m_caption;
};
