#include "Document/GKorvaneDocTemplate.h"

#include <wx/filename.h>

GKorvaneDocTemplate::GKorvaneDocTemplate(wxDocManager* manager, wxClassInfo* documentClass, wxClassInfo* viewClass)
    : wxDocTemplate(manager, "Korvane Scene (*.kor)", "*.kor", "", "kor", "KorvaneScene", "Korvane Scene",
                    documentClass, viewClass) {}

bool GKorvaneDocTemplate::MatchDocType(const wxString& path) const {
    return wxFileName(path).GetExt().IsSameAs(GetDefaultExtension(), false);
}

bool GKorvaneDocTemplate::FileMatchesTemplate(const wxString& path) {
    return MatchDocType(path);
}
