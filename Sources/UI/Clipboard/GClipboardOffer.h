#pragma once
// GClipboardOffer: the offer on the system clipboard, fetched format by format while the object lives (the
// clipboard is open meanwhile).

#include "Clipboard/GDataOffer.h"

class GClipboardOffer : public GDataOffer {
public:
    GClipboardOffer();
    ~GClipboardOffer() override;
    GClipboardOffer(const GClipboardOffer&) = delete;
    GClipboardOffer& operator=(const GClipboardOffer&) = delete;

    bool has(const wxDataFormat& format) const override;
    std::vector<BYTE> get(const wxDataFormat& format) const override;
    std::vector<wxString> files() const override;

private:
    bool m_open;
};
