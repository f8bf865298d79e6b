#include "Document/GKorvaneDocManager.h"

#include "Dialogs/GImageFileDialog.h"
#include "Document/GKorvaneDoc.h"
#include "Drawing/GWxImage.h"
#include "Model/GCompoundModel.h"

#include <wx/app.h>

void GKorvaneDocManager::GetReaderWriterList(bool reading, FileType type, ImageReaderWriterList& list) {
    list.GCollection::empty();
    GDIBReaderWriter::GetAllInfo(list, reading ? GDIBReaderWriter::CanRead : GDIBReaderWriter::CanWrite, 0);
    if (list.getCount() == 0)
        return;
    if (type == FileTypeScene) {
        while (list.getCount() > 1)
            list.free(list.at(list.getCount() - 1));
    } else {
        list.free(list.at(0));
    }
}

GString GKorvaneDocManager::BuildFilter(const ImageReaderWriterList& list) {
    GString all;
    GString each;
    for (int i = 0; i < list.getCount(); ++i) {
        ImageFileFilter filter;
        list.at(i)->file_name_filter(filter);
        if (filter.isEmpty())
            continue;
        all += (all.isEmpty() ? "" : ";") + filter.get_patterns();
        each += filter;
    }
    GString filter = list.getCount() > 1 ? "All Formats|" + all + "|" + each : each;
    return filter.isEmpty() ? GString("All Files|*") : GString(filter, filter.length() - 1); // no closing "|"
}

wxImage GKorvaneDocManager::PreviewPicture(const GString& path) {
    ImageReaderWriterList formats;
    GDIBReaderWriter::GetAllInfo(formats, GDIBReaderWriter::CanRead, 0);
    GCompoundModel model(0, 0);
    if (!GKorvaneDoc::ReadModel(path, model, formats, nullptr) || model.get_width() <= 0 || model.get_height() <= 0)
        return wxImage();
    return GWxImage::FromDIB(model.getCombinedImage());
}

bool GKorvaneDocManager::PromptFileName(GString& name, bool open, const char* title, FileType type) {
    ImageReaderWriterList formats;
    if (open && type == FileTypeScene) // pictures open too, as the background of a new scene
        GDIBReaderWriter::GetAllInfo(formats, GDIBReaderWriter::CanRead, 0);
    else
        GetReaderWriterList(open, type, formats);
    GImageFileDialog dialog(open, BuildFilter(formats), open ? wxFD_FILE_MUST_EXIST : wxFD_OVERWRITE_PROMPT,
                            wxTheApp->GetTopWindow(), PreviewPicture);
    dialog.SetTitle(title);
    dialog.SetRegistryKey(GString::Format("%s%i", open ? "OpenImages" : "SaveImages", static_cast<int>(type)));
    dialog.SetPathName(name);
    if (dialog.DoModal() != 1)
        return false;
    name = dialog.GetPathName();
    return true;
}

wxDocTemplate* GKorvaneDocManager::SelectDocumentPath(wxDocTemplate** templates, int count, wxString& path, long,
                                                      bool save) {
    GString name;
    if (templates == nullptr || count < 1 || !PromptFileName(name, !save, save ? "Save As" : "Open", FileTypeScene))
        return nullptr;
    path = wxString::FromUTF8(name);
    return templates[0];
}
