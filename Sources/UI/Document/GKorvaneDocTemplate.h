#pragma once
// GKorvaneDocTemplate: the one document type. Scene files are this type, and so are pictures of the formats that
// read them (they open as the background of a new scene); an open document is never matched by its path, so
// opening always reads the file.

#include <wx/docview.h>

class GKorvaneDocTemplate : public wxDocTemplate {
public:
    GKorvaneDocTemplate(wxDocManager* manager, wxClassInfo* documentClass, wxClassInfo* viewClass);

    // A scene's extension, or a pattern of a format that reads pictures.
    bool FileMatchesTemplate(const wxString& path) override;
    // Whether the path is of this template's type.
    bool MatchDocType(const wxString& path) const;
};
