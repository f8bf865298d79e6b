#include "Document/GKorvaneDocTemplate.h"

#include "Document/GKorvaneDocManager.h"

#include <wx/filename.h>

GKorvaneDocTemplate::GKorvaneDocTemplate(wxDocManager* manager, wxClassInfo* documentClass, wxClassInfo* viewClass)
    : wxDocTemplate(manager, "Korvane Scene (*.kor)", "*.kor", "", "kor", "KorvaneScene", "Korvane Scene",
                    documentClass, viewClass) {}

bool GKorvaneDocTemplate::MatchDocType(const wxString& path) const {
    return wxFileName(path).GetExt().IsSameAs(GetDefaultExtension(), false);
}

bool GKorvaneDocTemplate::FileMatchesTemplate(const wxString& path) {
    if (MatchDocType(path))
        return true;
    ImageReaderWriterList formats;
    GKorvaneDocManager::GetReaderWriterList(true, GKorvaneDocManager::FileTypeImages, formats);
    const GFile file(wxFileName(path).GetFullName().utf8_str());
    for (int i = 0; i < formats.getCount(); ++i) {
        ImageFileFilter filter;
        formats.at(i)->file_name_filter(filter);
        if (GDIBReaderWriter::CompareExtensions(file, filter))
            return true;
    }
    return false;
}
