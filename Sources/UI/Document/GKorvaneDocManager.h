#pragma once
// GKorvaneDocManager: the application's document manager, which also knows the formats documents are opened and
// saved with: the scene format, or the picture formats. File dialogs come with the shell.

#include "ImageFormats/ImageReaderWriterList.h"

#include <wx/docview.h>

class GKorvaneDocManager : public wxDocManager {
public:
    enum FileType { FileTypeScene = 0, FileTypeImages = 1 };

    // The formats that read (or write) files of the type: the scene format alone, or every other format.
    static void GetReaderWriterList(bool reading, FileType type, ImageReaderWriterList& list);
};
