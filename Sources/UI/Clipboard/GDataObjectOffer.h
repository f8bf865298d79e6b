#pragma once
// GDataObjectOffer: the offer of a data object of this process: a data source dragged within the program, or the
// data object a drop filled.

#include "Clipboard/GDataOffer.h"

class GDataObjectOffer : public GDataOffer {
public:
    explicit GDataObjectOffer(const wxDataObject& data) : m_data(data) {}

    bool has(const wxDataFormat& format) const override;
    std::vector<BYTE> get(const wxDataFormat& format) const override;
    std::vector<wxString> files() const override;

private:
    const wxDataObject& m_data;
};
