#include "Clipboard/GDataObjectOffer.h"

bool GDataObjectOffer::has(const wxDataFormat& format) const {
    return m_data.IsSupported(format, wxDataObject::Get);
}

std::vector<BYTE> GDataObjectOffer::get(const wxDataFormat& format) const {
    if (!has(format))
        return {};
    std::vector<BYTE> bytes(m_data.GetDataSize(format));
    if (!bytes.empty() && !m_data.GetDataHere(format, bytes.data()))
        bytes.clear();
    return bytes;
}

std::vector<wxString> GDataObjectOffer::files() const {
    const auto* composite = dynamic_cast<const wxDataObjectComposite*>(&m_data);
    const auto* list =
        dynamic_cast<const wxFileDataObject*>(composite != nullptr ? composite->GetObject(wxDF_FILENAME) : &m_data);
    if (list == nullptr || !m_data.IsSupported(wxDF_FILENAME, wxDataObject::Get))
        return {};
    const wxArrayString& names = list->GetFilenames();
    return {names.begin(), names.end()};
}
