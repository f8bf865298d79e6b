#include "Clipboard/GModelRecords.h"

#include "Errors/GException.h"
#include "Streams/mpstream.h"

namespace {

GCompoundModel::Type typeOf(DWORD value) {
    return value <= GCompoundModel::TypeUnknown ? static_cast<GCompoundModel::Type>(value)
                                                : GCompoundModel::TypeUnknown;
}

} // namespace

void GModelRecords::PutDWord(std::vector<BYTE>& bytes, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<BYTE>(value >> shift));
}

DWORD GModelRecords::GetDWord(const BYTE* bytes) {
    return bytes[0] | (DWORD{bytes[1]} << 8) | (DWORD{bytes[2]} << 16) | (DWORD{bytes[3]} << 24);
}

std::vector<BYTE> GModelRecords::Write(const std::vector<GKorvaneClipboardList::Item>& items) {
    std::vector<BYTE> bytes;
    PutDWord(bytes, static_cast<DWORD>(items.size()));
    unsigned long long unbackedPixels = 0;
    for (const GKorvaneClipboardList::Item& item : items) {
        ompstream object;
        object.reserveUnbackedPixels(unbackedPixels);
        object.writePointer(item.model);
        unbackedPixels = object.unbackedPixels();
        const std::size_t length = object.length();
        const auto* data = static_cast<const BYTE*>(object.data());
        PutDWord(bytes, static_cast<DWORD>(item.type));
        PutDWord(bytes, static_cast<DWORD>(4 + length));
        bytes.insert(bytes.end(), data, data + length);
    }
    return bytes;
}

GModelRecords::GModelRecords(const std::vector<BYTE>& bytes) : m_transferBytes(bytes.size()) {
    if (bytes.size() < 4)
        return;
    const DWORD count = GetDWord(bytes.data());
    std::size_t at = 4;
    // Each record takes at least its type and length, so the count cannot claim more than the bytes hold.
    if (count > (bytes.size() - at) / 8)
        return;
    m_records.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        if (bytes.size() - at < 8) {
            m_records.clear();
            return;
        }
        const DWORD type = GetDWord(&bytes[at]);
        const DWORD length = GetDWord(&bytes[at + 4]);
        if (length < 4 || length - 4 > bytes.size() - at - 8) {
            m_records.clear();
            return;
        }
        m_records.push_back({typeOf(type), &bytes[at + 8], length - 4});
        at += 4 + length;
    }
}

GCompoundModel* GModelRecords::read(std::size_t i) {
    const Record& record = m_records[i];
    impstream in(record.object, record.length);
    in.countBytesForPixels(m_transferBytes);
    try {
        in.claimUnbackedPixels(m_unbackedPixels);
        in.claimDecodedPixels(m_decodedPixels, 0);
        GCompoundModel* model = in.readPointer<GCompoundModel>();
        keepBudget(in);
        return model;
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        keepBudget(in);
        in.destroyReadObjects();
        return nullptr;
    }
}

void GModelRecords::keepBudget(const ipstream& in) {
    m_unbackedPixels = in.unbackedPixels();
    m_decodedPixels = in.decodedPixels();
}
