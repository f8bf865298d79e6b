#pragma once
// GKorvaneDocTemplate: the one document type. Any file with the scene extension is this type, and an open
// document is never matched by its path, so opening always reads the file.

#include <wx/docview.h>

class GKorvaneDocTemplate : public wxDocTemplate {
public:
    GKorvaneDocTemplate(wxDocManager* manager, wxClassInfo* documentClass, wxClassInfo* viewClass);

    // Matches ".ext" of the path (not the whole path) against the template's extension.
    bool FileMatchesTemplate(const wxString& path) override;
    // Whether the path is of this template's type.
    bool MatchDocType(const wxString& path) const;
};
