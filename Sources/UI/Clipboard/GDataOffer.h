#pragma once
// GDataOffer: what a transfer (the clipboard, a drop) holds, as the receiving side sees it: the formats it
// offers, the bytes of each and, for files, their names.

#include "win/Win32Types.h"

#include <wx/dataobj.h>

#include <vector>

class GDataOffer {
public:
    virtual ~GDataOffer() = default;
    virtual bool has(const wxDataFormat& format) const = 0;
    // The bytes of the format; empty when it cannot be fetched.
    virtual std::vector<BYTE> get(const wxDataFormat& format) const = 0;
    // The files offered (dropped from a file manager); none by default.
    virtual std::vector<wxString> files() const { return {}; }
};
