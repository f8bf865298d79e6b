#include "Clipboard/GKorvaneBaseDataSource.h"

#include "Clipboard/GKorvaneClipboard.h"
#include "Clipboard/GModelRecords.h"
#include "Drawing/GWxImage.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// The sources alive in this process, by the token their in-memory format carries.
std::mutex sourcesLock;
std::map<std::uint64_t, const GKorvaneBaseDataSource*>& sources() {
    static std::map<std::uint64_t, const GKorvaneBaseDataSource*> all;
    return all;
}

std::uint64_t newToken() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

} // namespace

GKorvaneBaseDataSource::GKorvaneBaseDataSource() : m_token(newToken()) {
    const std::lock_guard<std::mutex> lock(sourcesLock);
    sources()[m_token] = this;
}

GKorvaneBaseDataSource::~GKorvaneBaseDataSource() {
    const std::lock_guard<std::mutex> lock(sourcesLock);
    sources().erase(m_token);
}

const GKorvaneBaseDataSource* GKorvaneBaseDataSource::FindInProcess(const std::vector<BYTE>& inMemoryFormat) {
    if (inMemoryFormat.size() != 12 ||
        GModelRecords::GetDWord(inMemoryFormat.data()) != GKorvaneClipboard::CurrentProcessId())
        return nullptr;
    const std::uint64_t token = GModelRecords::GetDWord(&inMemoryFormat[4]) |
                                (std::uint64_t{GModelRecords::GetDWord(&inMemoryFormat[8])} << 32);
    const std::lock_guard<std::mutex> lock(sourcesLock);
    const auto found = sources().find(token);
    return found != sources().end() ? found->second : nullptr;
}

void GKorvaneBaseDataSource::cacheModels(bool loaded) const {
    if (!m_inMemoryCached) {
        m_inMemoryCached = true;
        getInMemoryModels(m_inMemory);
    }
    if (loaded && !m_loadedCached) {
        m_loadedCached = true;
        getLoadedModels(m_loaded);
    }
}

std::vector<GKorvaneClipboardList::Item> GKorvaneBaseDataSource::allModels() const {
    cacheModels(true);
    std::vector<GKorvaneClipboardList::Item> items;
    for (std::size_t i = 0; i < m_inMemory.size(); ++i)
        items.push_back(m_inMemory[i]);
    for (std::size_t i = 0; i < m_loaded.size(); ++i)
        items.push_back(m_loaded[i]);
    return items;
}

std::vector<wxDataFormat> GKorvaneBaseDataSource::formats() const {
    std::vector<wxDataFormat> all{GKorvaneClipboard::InMemoryFormat(), GKorvaneClipboard::ModelsFormat(),
                                  GKorvaneClipboard::PictureFormat()};
    if (m_attached)
        all.push_back(GKorvaneClipboard::ProcessIdFormat());
    return all;
}

wxDataFormat GKorvaneBaseDataSource::GetPreferredFormat(Direction) const {
    return GKorvaneClipboard::InMemoryFormat();
}

size_t GKorvaneBaseDataSource::GetFormatCount(Direction direction) const {
    return direction == Get ? formats().size() : 0;
}

void GKorvaneBaseDataSource::GetAllFormats(wxDataFormat* out, Direction direction) const {
    if (direction != Get)
        return;
    for (const wxDataFormat& format : formats())
        *out++ = format;
}

size_t GKorvaneBaseDataSource::GetDataSize(const wxDataFormat& format) const {
    return rendered(format).size();
}

bool GKorvaneBaseDataSource::GetDataHere(const wxDataFormat& format, void* buffer) const {
    const std::vector<BYTE>& bytes = rendered(format);
    if (bytes.empty())
        return false;
    std::memcpy(buffer, bytes.data(), bytes.size());
    return true;
}

const std::vector<BYTE>& GKorvaneBaseDataSource::rendered(const wxDataFormat& format) const {
    const wxString id = format.GetId();
    auto found = m_rendered.find(id);
    if (found == m_rendered.end())
        found = m_rendered.emplace(id, render(format)).first;
    return found->second;
}

std::vector<BYTE> GKorvaneBaseDataSource::render(const wxDataFormat& format) const {
    std::vector<BYTE> bytes;
    if (format == GKorvaneClipboard::InMemoryFormat()) {
        GModelRecords::PutDWord(bytes, GKorvaneClipboard::CurrentProcessId());
        GModelRecords::PutDWord(bytes, static_cast<DWORD>(m_token));
        GModelRecords::PutDWord(bytes, static_cast<DWORD>(m_token >> 32));
    } else if (format == GKorvaneClipboard::ProcessIdFormat()) {
        if (m_attached)
            GModelRecords::PutDWord(bytes, GKorvaneClipboard::CurrentProcessId());
    } else if (format == GKorvaneClipboard::ModelsFormat()) {
        bytes = GModelRecords::Write(allModels());
    } else if (format == GKorvaneClipboard::PictureFormat()) {
        const std::vector<GKorvaneClipboardList::Item> items = allModels();
        if (!items.empty() && items.front().model != nullptr)
            bytes = GWxImage::EncodePng(items.front().model->getCombinedImage());
    }
    return bytes;
}
