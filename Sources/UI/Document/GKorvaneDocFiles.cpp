// GKorvaneDoc: new documents, opening and saving files through the formats.

#include "Document/GKorvaneDoc.h"

#include "Document/GKorvaneDocManager.h"
#include "Errors/GException.h"
#include "Files/FileSystem.h"
#include "Model/GCompoundModel.h"
#include "Streams/fpstream.h"
#include "Text/UIStringTable.h"
#include "win/Files.h"
#include "win/MessageBox.h"

#include <wx/filename.h>

#include <utility>

namespace {

// The one way a document reports a failed open or save; the shell shows it, alone it goes to standard error.
bool report(UINT message, const char* path) {
    const GString text = GString(GetUIModule(), message) + "\n" + path;
    MessageBoxA(nullptr, text, "Korvane", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// Writes the model with the writer into a new file beside the target, makes it durable and renames it over the
// target; false (and no trace) on any failure.
bool writeReplacing(const GFile& target, GDIBReaderWriter& writer, const GCompoundModel& model) {
    GFile temporary(GString(target) + ".save-??????");
    if (!FileSystem::UniqueName(temporary, '?'))
        return false;
    bool written = false;
    {
        ofpstream stream;
        if (!stream.open(temporary, GIO::WriteOnly, GFileIO::CreateNew, GFileIO::ShareNone))
            return false;
        try {
            written = writer.write_image(stream, model);
            stream.flush();
            stream.getFileIO()->sync();
            ifpstream existing;
            if (written && existing.open(target, GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareReadWrite))
                stream.getFileIO()->take_permissions_of(*existing.getFileIO());
        } catch (CException* e) {
            CExceptionPtr<> held(e);
            written = false;
        }
    }
    if (written &&
        (MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) || !temporary.exists()))
        return true;
    DeleteFileA(temporary);
    return false;
}

// Reads the file with the formats; `cutShort` tells whether a picture in it ended before its data did.
bool readFile(const char* path, GAbstractDIBImage& target, ImageReaderWriterList& formats, int* index, bool& cutShort) {
    ifpstream stream;
    if (GFile(path).isDirectory() || !stream.open(path, GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareRead))
        return false;
    try {
        const bool read = GDIBReaderWriter::Read(stream, target, formats, index);
        cutShort = stream.cutShortPictures() > 0;
        return read;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        return false;
    }
}

} // namespace

bool GKorvaneDoc::OnSaveModified() {
    if (!IsModified())
        return true;
    const GString text = GString("Do you want to save the changes to ") + GetUserReadableName().utf8_str() + "?";
    switch (MessageBoxA(nullptr, text, "Korvane", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return Save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool GKorvaneDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument())
        return false;
    setModel(new GCompoundModel(DefaultModelSize.cx, DefaultModelSize.cy));
    return true;
}

bool GKorvaneDoc::OnOpenDocument(const wxString& path) {
    // Scenes and pictures both open: a picture becomes the background of a new scene, named after it, that is
    // saved as a scene beside it.
    ImageReaderWriterList formats;
    GDIBReaderWriter::GetAllInfo(formats, GDIBReaderWriter::CanRead, 0);
    auto* model = new GCompoundModel(0, 0);
    int index = -1;
    if (!LoadModel(path.utf8_str(), model, &formats, &index)) {
        model->destroyThis();
        return false;
    }
    setModel(model);
    const bool scene = index == 0;
    wxFileName name(path);
    if (!scene)
        name.SetExt("kor");
    SetFilename(name.GetFullPath(), true);
    SetDocumentSaved(scene);
    return true;
}

bool GKorvaneDoc::SaveAs() {
    GString name(GetFilename().utf8_str());
    if (!GKorvaneDocManager::PromptFileName(name, false, "Save As", GKorvaneDocManager::FileTypeScene))
        return false;
    wxFileName path(wxString::FromUTF8(name));
    if (!path.HasExt())
        path.SetExt("kor");
    if (!OnSaveDocument(path.GetFullPath()))
        return false;
    SetTitle(path.GetName());
    if (wxDocManager* manager = GetDocumentManager())
        manager->AddFileToHistory(path.GetFullPath());
    return true;
}

bool GKorvaneDoc::OnSaveDocument(const wxString& path) {
    if (m_model == nullptr || !SaveModel(path.utf8_str(), m_model, nullptr, nullptr))
        return false;
    markSaved();
    SetFilename(path, true);
    SetDocumentSaved(true);
    return true;
}

bool GKorvaneDoc::DeleteContents() {
    m_undoStack.clear();
    m_redoStack.clear();
    detachContext();
    if (m_model != nullptr)
        std::exchange(m_model, nullptr)->destroyThis();
    return true;
}

bool GKorvaneDoc::IsSceneFile(const wxString& path) {
    return wxFileName(path).GetExt().IsSameAs("kor", false);
}

bool GKorvaneDoc::ReadModel(const char* path, GAbstractDIBImage& target, ImageReaderWriterList& formats, int* index) {
    bool cutShort = false;
    return readFile(path, target, formats, index, cutShort);
}

bool GKorvaneDoc::LoadModel(const char* path, GAbstractDIBImage* target, const ImageReaderWriterList* list,
                            int* index) {
    if (target == nullptr)
        return false;
    ImageReaderWriterList formats;
    if (list != nullptr)
        formats = *list;
    else
        GKorvaneDocManager::GetReaderWriterList(true, GKorvaneDocManager::FileTypeScene, formats);
    bool cutShort = false;
    if (!readFile(path, *target, formats, index, cutShort))
        return report(AFX_IDP_FAILED_TO_OPEN_DOC, path);
    if (cutShort)
        MessageBoxA(nullptr, GString("The picture ends early; it was read as far as its data goes.\n") + path,
                    "Korvane", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

bool GKorvaneDoc::SaveModel(const char* path, const GCompoundModel* model, const ImageReaderWriterList* list,
                            int* index) {
    if (model == nullptr)
        return false;
    ImageReaderWriterList formats;
    if (list != nullptr)
        formats = *list;
    else
        GKorvaneDocManager::GetReaderWriterList(false, GKorvaneDocManager::FileTypeScene, formats);
    GDIBReaderWriter* writer = GDIBReaderWriter::GetWriter(path, formats);
    if (writer == nullptr)
        return report(AFX_IDP_INVALID_FILENAME, path);
    if (index != nullptr)
        *index = formats.index_of(writer);
    return writeReplacing(GFile(path), *writer, *model) || report(AFX_IDP_FAILED_TO_SAVE_DOC, path);
}
