#include "Clipboard/GKorvaneClipboard.h"

#include "Clipboard/GClipboardOffer.h"
#include "Clipboard/GKorvaneDataObjectIterator.h"
#include "Clipboard/GModelRecords.h"

#include <unistd.h>

const wxDataFormat& GKorvaneClipboard::ModelsFormat() {
    static const wxDataFormat format("GKorvaneModels");
    return format;
}

const wxDataFormat& GKorvaneClipboard::InMemoryFormat() {
    static const wxDataFormat format("GKorvaneModelsInMemory");
    return format;
}

const wxDataFormat& GKorvaneClipboard::ProcessIdFormat() {
    static const wxDataFormat format("GKorvaneProcessId");
    return format;
}

const wxDataFormat& GKorvaneClipboard::PictureFormat() {
    static const wxDataFormat format("image/png");
    return format;
}

DWORD GKorvaneClipboard::CurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

bool GKorvaneClipboard::Available() {
    return Available(GClipboardOffer());
}

bool GKorvaneClipboard::Available(const GDataOffer& data) {
    return data.has(ModelsFormat()) || data.has(InMemoryFormat()) || data.has(PictureFormat()) || !data.files().empty();
}

bool GKorvaneClipboard::IsModelsAttached(const GDataOffer& data) {
    const std::vector<BYTE> bytes = data.get(ProcessIdFormat());
    if (bytes.size() < 4)
        return false;
    return GModelRecords::GetDWord(bytes.data()) == CurrentProcessId();
}

bool GKorvaneClipboard::GetType(GCompoundModel::Type& type) {
    const GClipboardOffer offer;
    const GKorvaneDataObjectIterator objects(offer);
    if (!objects)
        return false;
    type = objects.type();
    return true;
}
