#include "Clipboard/GClipboardOffer.h"

#include <wx/clipbrd.h>

GClipboardOffer::GClipboardOffer() : m_open(wxTheClipboard->Open()) {}

GClipboardOffer::~GClipboardOffer() {
    if (m_open)
        wxTheClipboard->Close();
}

bool GClipboardOffer::has(const wxDataFormat& format) const {
    return m_open && wxTheClipboard->IsSupported(format);
}

std::vector<BYTE> GClipboardOffer::get(const wxDataFormat& format) const {
    wxCustomDataObject data(format);
    if (!has(format) || !wxTheClipboard->GetData(data))
        return {};
    const auto* bytes = static_cast<const BYTE*>(data.GetData());
    return std::vector<BYTE>(bytes, bytes + data.GetSize());
}

std::vector<wxString> GClipboardOffer::files() const {
    wxFileDataObject data;
    if (!has(wxDF_FILENAME) || !wxTheClipboard->GetData(data))
        return {};
    const wxArrayString& names = data.GetFilenames();
    return {names.begin(), names.end()};
}
