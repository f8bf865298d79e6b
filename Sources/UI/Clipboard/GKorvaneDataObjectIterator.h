#pragma once
// GKorvaneDataObjectIterator: walks over the objects of an offer, whichever form they came in: the live models of
// a data source of this process, streamed models, a plain picture, or picture and scene files. Models are read
// only when asked for.

#include "Clipboard/GDataOffer.h"
#include "Clipboard/GModelRecords.h"
#include "Model/GCompoundModel.h"

#include <memory>
#include <optional>
#include <vector>

class GKorvaneDataObjectIterator {
public:
    // With `inMemoryOnly`, only the live models of a source of this process.
    explicit GKorvaneDataObjectIterator(const GDataOffer& data, bool inMemoryOnly = false);
    ~GKorvaneDataObjectIterator();
    GKorvaneDataObjectIterator(const GKorvaneDataObjectIterator&) = delete;
    GKorvaneDataObjectIterator& operator=(const GKorvaneDataObjectIterator&) = delete;

    explicit operator bool() const { return m_current < m_objects.size(); }
    GKorvaneDataObjectIterator& operator++();
    GCompoundModel::Type type() const;
    // The current model, owned by the iterator or the sender; null when it cannot be read or was taken.
    GCompoundModel* model();
    // A model the caller takes over: a copy of a live model, or the one read.
    GCompoundModel* detachedModel();
    bool inTheSameProcess() const;

private:
    enum Kind { Live, Record, Picture, File };
    struct Object {
        Kind kind;
        GCompoundModel::Type type;
        GCompoundModel* live; // Live only
        std::size_t index;    // Record: the record; Picture and File: the picture or file
    };
    struct ModelDeleter {
        void operator()(GCompoundModel* model) const;
    };

    void addModels(const GDataOffer& data, bool inMemoryOnly);
    GCompoundModel* load(const Object& object);

    std::vector<Object> m_objects;
    std::size_t m_current = 0;
    std::vector<BYTE> m_recordBytes;
    std::optional<GModelRecords> m_records;
    std::vector<BYTE> m_picture;
    std::vector<wxString> m_files;
    std::unique_ptr<GCompoundModel, ModelDeleter> m_read; // the current object's model, while not taken
    bool m_taken = false;                                 // the current object's model went to the caller
};
