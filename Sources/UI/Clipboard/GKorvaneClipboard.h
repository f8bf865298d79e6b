#pragma once
// GKorvaneClipboard: the formats in which models travel between windows and programs, and the questions asked of
// an offer before a paste or a drop.
//   "GKorvaneModels"          the models as object streams, for any process
//   "GKorvaneModelsInMemory"  names the sending data source of this process, whose live models are copied
//                             without streaming; it means nothing to another process
//   "GKorvaneProcessId"       the sending process, present when the models belong to a document there
//   a picture (PNG)           the first model's composed image, for other programs

#include "Clipboard/GDataOffer.h"
#include "Model/GCompoundModel.h"

class GKorvaneClipboard {
public:
    static const wxDataFormat& ModelsFormat();
    static const wxDataFormat& InMemoryFormat();
    static const wxDataFormat& ProcessIdFormat();
    static const wxDataFormat& PictureFormat();

    // The system clipboard holds something a paste can insert.
    static bool Available();
    static bool Available(const GDataOffer& data);
    // The offer's models belong to a document of this process (a drop of them is a move).
    static bool IsModelsAttached(const GDataOffer& data);
    // The type of the first object on the clipboard; false when there is none.
    static bool GetType(GCompoundModel::Type& type);
    static DWORD CurrentProcessId();
};
