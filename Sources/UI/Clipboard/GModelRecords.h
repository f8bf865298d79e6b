#pragma once
// GModelRecords: the byte layout of the "GKorvaneModels" format, little-endian: a DWORD count, then per model a
// DWORD type, a DWORD length (from the length field's first byte to the record's end) and the model as an object
// pointer. Each record is an object stream of its own, so that a receiver can skip a record without reading it.
// The reader checks every count and length against the bytes there; a record that does not read gives no model.
// All records of one transfer share one pixel budget, counted on the whole transfer's bytes, as one stream would.

#include "Clipboard/GKorvaneClipboardList.h"
#include "win/Win32Types.h"

#include <cstddef>
#include <vector>

class ipstream;

class GModelRecords {
public:
    static std::vector<BYTE> Write(const std::vector<GKorvaneClipboardList::Item>& items);
    // The little-endian DWORDs of the transfer formats.
    static void PutDWord(std::vector<BYTE>& bytes, DWORD value);
    static DWORD GetDWord(const BYTE* bytes);

    // The records of the bytes (which must outlive this object); none when the layout is broken.
    explicit GModelRecords(const std::vector<BYTE>& bytes);
    std::size_t size() const { return m_records.size(); }
    GCompoundModel::Type type(std::size_t i) const { return m_records[i].type; }
    // A new model read from record i (the caller owns it), or null when it does not read.
    GCompoundModel* read(std::size_t i);

private:
    struct Record {
        GCompoundModel::Type type;
        const BYTE* object;
        std::size_t length;
    };
    void keepBudget(const ipstream& in);

    std::vector<Record> m_records;
    std::size_t m_transferBytes;
    unsigned long long m_unbackedPixels = 0; // claimed by the records read so far
    unsigned long long m_decodedPixels = 0;
};
