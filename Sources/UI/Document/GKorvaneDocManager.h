#pragma once
// GKorvaneDocManager: the application's document manager, which also knows the formats documents are opened and
// saved with: the scene format, or the picture formats. File dialogs come with the shell.

#include "ImageFormats/ImageReaderWriterList.h"
#include "Text/GString.h"

#include <wx/docview.h>
#include <wx/image.h>

class GKorvaneDocManager : public wxDocManager {
public:
    enum FileType { FileTypeScene = 0, FileTypeImages = 1 };

    // The formats that read (or write) files of the type: the scene format alone, or every other format.
    static void GetReaderWriterList(bool reading, FileType type, ImageReaderWriterList& list);
    // The filter of a file dialog for the formats: "All Formats" with every pattern when there are several, then
    // each format's own.
    static GString BuildFilter(const ImageReaderWriterList& list);
    // The picture of a file for the file dialog's preview: a picture as it is, a scene composed; invalid when the
    // file does not read.
    static wxImage PreviewPicture(const GString& path);
    // Asks for a file of the type (opening or saving) with a preview; false when the user cancels.
    static bool PromptFileName(GString& name, bool open, const char* title, FileType type);

    // File Open offers scenes and pictures: a picture opens as the background of a new scene.
    wxDocTemplate* SelectDocumentPath(wxDocTemplate** templates, int count, wxString& path, long flags,
                                      bool save) override;
};
