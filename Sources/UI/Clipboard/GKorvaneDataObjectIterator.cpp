#include "Clipboard/GKorvaneDataObjectIterator.h"

#include "Clipboard/GKorvaneBaseDataSource.h"
#include "Clipboard/GKorvaneClipboard.h"
#include "Document/GKorvaneDoc.h"
#include "Document/GKorvaneDocManager.h"
#include "Drawing/GWxImage.h"
#include "Text/UIStringTable.h"

#include <wx/filename.h>

void GKorvaneDataObjectIterator::ModelDeleter::operator()(GCompoundModel* model) const {
    if (model != nullptr)
        model->destroyThis();
}

GKorvaneDataObjectIterator::GKorvaneDataObjectIterator(const GDataOffer& data, bool inMemoryOnly) {
    if (data.has(GKorvaneClipboard::InMemoryFormat()) || data.has(GKorvaneClipboard::ModelsFormat())) {
        addModels(data, inMemoryOnly);
        return;
    }
    if (data.has(GKorvaneClipboard::PictureFormat()))
        m_picture = data.get(GKorvaneClipboard::PictureFormat());
    if (!m_picture.empty()) {
        m_objects.push_back({Picture, GCompoundModel::TypeUnknown, nullptr, 0});
        return;
    }
    m_files = data.files();
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const bool scene = GKorvaneDoc::IsSceneFile(m_files[i]);
        m_objects.push_back({File, scene ? GCompoundModel::TypeScene : GCompoundModel::TypeUnknown, nullptr, i});
    }
}

GKorvaneDataObjectIterator::~GKorvaneDataObjectIterator() = default;

void GKorvaneDataObjectIterator::addModels(const GDataOffer& data, bool inMemoryOnly) {
    // The live models of a source of this process come first; the streamed records repeat them, so only the
    // records after them are read.
    std::size_t live = 0;
    if (const GKorvaneBaseDataSource* source =
            GKorvaneBaseDataSource::FindInProcess(data.get(GKorvaneClipboard::InMemoryFormat()))) {
        source->cacheModels(false);
        const GKorvaneClipboardList& models = source->inMemoryModels();
        for (live = 0; live < models.size(); ++live)
            m_objects.push_back({Live, models[live].type, models[live].model, 0});
    }
    if (inMemoryOnly)
        return;
    m_recordBytes = data.get(GKorvaneClipboard::ModelsFormat());
    m_records.emplace(m_recordBytes);
    for (std::size_t i = live; i < m_records->size(); ++i)
        m_objects.push_back({Record, m_records->type(i), nullptr, i});
}

GKorvaneDataObjectIterator& GKorvaneDataObjectIterator::operator++() {
    m_read.reset();
    m_taken = false;
    if (m_current < m_objects.size())
        ++m_current;
    return *this;
}

GCompoundModel::Type GKorvaneDataObjectIterator::type() const {
    return m_objects[m_current].type;
}

bool GKorvaneDataObjectIterator::inTheSameProcess() const {
    return *this && m_objects[m_current].kind == Live;
}

GCompoundModel* GKorvaneDataObjectIterator::model() {
    if (!*this)
        return nullptr;
    const Object& object = m_objects[m_current];
    if (object.kind == Live)
        return object.live;
    if (!m_read && !m_taken)
        m_read.reset(load(object));
    return m_read.get();
}

GCompoundModel* GKorvaneDataObjectIterator::detachedModel() {
    if (!*this)
        return nullptr;
    const Object& object = m_objects[m_current];
    if (object.kind == Live)
        return object.live != nullptr ? new GCompoundModel(*object.live) : nullptr;
    model();
    m_taken = true;
    return m_read.release();
}

GCompoundModel* GKorvaneDataObjectIterator::load(const Object& object) {
    if (object.kind == Record)
        return m_records->read(object.index);
    auto* model = new GCompoundModel(0, 0);
    if (object.kind == Picture) {
        if (!GWxImage::DecodePng(m_picture, model->getModifiableImage())) {
            model->destroyThis();
            return nullptr;
        }
        model->invalidate();
        model->setName(GString(GetUIModule(), IDS_LAYER));
        return model;
    }
    const wxString& path = m_files[object.index];
    ImageReaderWriterList formats;
    GKorvaneDocManager::GetReaderWriterList(true,
                                            object.type == GCompoundModel::TypeScene
                                                ? GKorvaneDocManager::FileTypeScene
                                                : GKorvaneDocManager::FileTypeImages,
                                            formats);
    if (!GKorvaneDoc::LoadModel(path.utf8_str(), model, &formats, nullptr)) {
        model->destroyThis();
        return nullptr;
    }
    if (object.type != GCompoundModel::TypeScene)
        model->setName(wxFileName(path).GetName().utf8_str());
    return model;
}
