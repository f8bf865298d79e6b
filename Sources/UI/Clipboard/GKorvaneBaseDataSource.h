#pragma once
// GKorvaneBaseDataSource: a data object that offers models on the clipboard or in a drag. Derived sources name the
// models: live models of this process (copied by a receiver here without streaming) and models that exist only
// for the transfer. Every format is rendered when first asked for.

#include "Clipboard/GKorvaneClipboardList.h"
#include "win/Win32Types.h"

#include <wx/dataobj.h>

#include <cstdint>
#include <map>
#include <vector>

class GKorvaneBaseDataSource : public wxDataObject {
public:
    GKorvaneBaseDataSource();
    ~GKorvaneBaseDataSource() override;
    GKorvaneBaseDataSource(const GKorvaneBaseDataSource&) = delete;
    GKorvaneBaseDataSource& operator=(const GKorvaneBaseDataSource&) = delete;

    virtual void getInMemoryModels(GKorvaneClipboardList&) const {}
    virtual void getLoadedModels(GKorvaneClipboardList&) const {}

    // The offer says that its models belong to a document of this process.
    void markModelsAsAttached() { m_attached = true; }
    // Fills the in-memory list once and, when asked, the loaded list once.
    void cacheModels(bool loaded) const;
    const GKorvaneClipboardList& inMemoryModels() const { return m_inMemory; }
    const GKorvaneClipboardList& loadedModels() const { return m_loaded; }
    // The source of this process that the in-memory format names; null when it is gone or from elsewhere.
    static const GKorvaneBaseDataSource* FindInProcess(const std::vector<BYTE>& inMemoryFormat);

    wxDataFormat GetPreferredFormat(Direction direction) const override;
    size_t GetFormatCount(Direction direction) const override;
    void GetAllFormats(wxDataFormat* formats, Direction direction) const override;
    size_t GetDataSize(const wxDataFormat& format) const override;
    bool GetDataHere(const wxDataFormat& format, void* buffer) const override;

private:
    std::vector<wxDataFormat> formats() const;
    const std::vector<BYTE>& rendered(const wxDataFormat& format) const;
    std::vector<BYTE> render(const wxDataFormat& format) const;
    // Every model offered: the in-memory ones, then the loaded ones.
    std::vector<GKorvaneClipboardList::Item> allModels() const;

    std::uint64_t m_token;
    bool m_attached = false;
    mutable GKorvaneClipboardList m_inMemory;
    mutable GKorvaneClipboardList m_loaded;
    mutable bool m_inMemoryCached = false;
    mutable bool m_loadedCached = false;
    mutable std::map<wxString, std::vector<BYTE>> m_rendered;
};
