// Models offered by a data source and taken by the iterator, in this process and as another process sees them;
// plain pictures; the model records' layout and their reader on broken bytes.

#include "Clipboard/GDataObjectOffer.h"
#include "Clipboard/GKorvaneClipboard.h"
#include "Clipboard/GKorvaneDataObjectIterator.h"
#include "Clipboard/GKorvaneDataSource.h"
#include "Clipboard/GModelInsertion.h"
#include "Clipboard/GModelRecords.h"
#include "Drawing/GWxImage.h"
#include "UI/Document/DocumentTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

GCompoundModel* namedModel(const char* name, DWORD pixel, int width = 3, int height = 2) {
    auto* model = new GCompoundModel(width, height);
    model->getModifiableImage().full_fill(pixel);
    model->setName(name);
    return model;
}

// A source with two live models and one that exists only for the transfer.
class MixedSource : public GKorvaneDataSource {
public:
    MixedSource() {
        putModel(GCompoundModel::TypeObject, namedModel("first", 0xFF102030), true);
        putModel(GCompoundModel::TypeBackground, namedModel("second", 0xFF405060), true);
    }
    void getLoadedModels(GKorvaneClipboardList& list) const override {
        list.putModel(GCompoundModel::TypeObject, namedModel("loaded", 0xFF708090), true);
    }
};

// The offer as another process receives it: the formats' bytes, the in-memory one naming a process that is not
// this one.
class ForeignOffer : public GDataOffer {
public:
    explicit ForeignOffer(const wxDataObject& data) : m_data(data) {}
    bool has(const wxDataFormat& format) const override { return m_data.has(format); }
    std::vector<BYTE> get(const wxDataFormat& format) const override {
        std::vector<BYTE> bytes = m_data.get(format);
        if (!bytes.empty() &&
            (format == GKorvaneClipboard::InMemoryFormat() || format == GKorvaneClipboard::ProcessIdFormat()))
            bytes[0] ^= 0x5A;
        return bytes;
    }

private:
    GDataObjectOffer m_data;
};

// An offer of one format's bytes.
class BytesOffer : public GDataOffer {
public:
    BytesOffer(const wxDataFormat& format, std::vector<BYTE> bytes) : m_format(format), m_bytes(std::move(bytes)) {}
    bool has(const wxDataFormat& format) const override { return format == m_format; }
    std::vector<BYTE> get(const wxDataFormat& format) const override {
        return format == m_format ? m_bytes : std::vector<BYTE>{};
    }

private:
    wxDataFormat m_format;
    std::vector<BYTE> m_bytes;
};

std::string nameOf(GCompoundModel* model) {
    return model != nullptr ? static_cast<const char*>(model->getName()) : "(null)";
}

} // namespace

TEST(ClipboardFormats, LiveModelsInThisProcessAndStreamedModelsElsewhere) {
    MixedSource source;
    const GDataObjectOffer here(source);
    source.cacheModels(false);
    const GCompoundModel* firstLive = source.inMemoryModels()[0].model;

    // Here: the two live models themselves, then the loaded one read from its record.
    GKorvaneDataObjectIterator local(here);
    ASSERT_TRUE(local);
    EXPECT_TRUE(local.inTheSameProcess());
    EXPECT_EQ(local.model(), firstLive);
    std::unique_ptr<GCompoundModel> copy(local.detachedModel());
    EXPECT_NE(copy.get(), firstLive);
    EXPECT_EQ(copy->getImage().get_pixel(0, 0), 0xFF102030u);
    ++local;
    EXPECT_EQ(local.type(), GCompoundModel::TypeBackground);
    ++local;
    ASSERT_TRUE(local);
    EXPECT_FALSE(local.inTheSameProcess());
    EXPECT_EQ(nameOf(local.model()), "loaded");
    ++local;
    EXPECT_FALSE(local);

    // Elsewhere: all three streamed, with their types and pixels; the models are never the sender's.
    const ForeignOffer there(source);
    std::vector<std::string> names;
    std::vector<GCompoundModel::Type> types;
    for (GKorvaneDataObjectIterator foreign(there); foreign; ++foreign) {
        EXPECT_FALSE(foreign.inTheSameProcess());
        EXPECT_NE(foreign.model(), firstLive);
        names.push_back(nameOf(foreign.model()));
        types.push_back(foreign.type());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second", "loaded"}));
    EXPECT_EQ(types[1], GCompoundModel::TypeBackground);
    EXPECT_FALSE(GKorvaneDataObjectIterator(there, true));
}

TEST(ClipboardFormats, SkippedRecordsAreNotReadAndTakenModelsBelongToTheCaller) {
    MixedSource source;
    const ForeignOffer there(source);
    GKorvaneDataObjectIterator objects(there);
    ++objects; // the first record is skipped unread
    std::unique_ptr<GCompoundModel> second(objects.detachedModel());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(nameOf(second.get()), "second");
    EXPECT_EQ(second->getImage().get_pixel(2, 1), 0xFF405060u);
    EXPECT_EQ(objects.model(), nullptr) << "a taken model is not read twice";
}

TEST(ClipboardFormats, ASourceGoneLeavesTheStreamedModels) {
    std::vector<BYTE> inMemory;
    std::vector<BYTE> records;
    {
        MixedSource source;
        const GDataObjectOffer offer(source);
        inMemory = offer.get(GKorvaneClipboard::InMemoryFormat());
        records = offer.get(GKorvaneClipboard::ModelsFormat());
        EXPECT_EQ(GKorvaneBaseDataSource::FindInProcess(inMemory), &source);
    }
    EXPECT_EQ(GKorvaneBaseDataSource::FindInProcess(inMemory), nullptr);
    const BytesOffer offer(GKorvaneClipboard::ModelsFormat(), records);
    int count = 0;
    for (GKorvaneDataObjectIterator objects(offer); objects; ++objects)
        count += objects.model() != nullptr;
    EXPECT_EQ(count, 3);
}

TEST(ClipboardFormats, APlainPictureIsOneUnknownLayer) {
    GSprite pixels(4, 3);
    pixels.full_fill(0xFFC08040);
    const BytesOffer offer(GKorvaneClipboard::PictureFormat(), GWxImage::EncodePng(pixels));
    EXPECT_TRUE(GKorvaneClipboard::Available(offer));
    GKorvaneDataObjectIterator objects(offer);
    ASSERT_TRUE(objects);
    EXPECT_EQ(objects.type(), GCompoundModel::TypeUnknown);
    std::unique_ptr<GCompoundModel> layer(objects.detachedModel());
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(nameOf(layer.get()), "Layer");
    EXPECT_EQ(layer->get_width(), 4);
    EXPECT_EQ(layer->getImage().get_pixel(3, 2), 0xFFC08040u);
    ++objects;
    EXPECT_FALSE(objects);
    // Bytes that are no picture give no model.
    const BytesOffer broken(GKorvaneClipboard::PictureFormat(), {1, 2, 3});
    EXPECT_EQ(GKorvaneDataObjectIterator(broken).model(), nullptr);
}

TEST(ClipboardFormats, AttachedModelsAreRecognisedOnlyInTheirProcess) {
    MixedSource source;
    EXPECT_FALSE(GKorvaneClipboard::IsModelsAttached(GDataObjectOffer(source)));
    source.markModelsAsAttached();
    EXPECT_TRUE(GKorvaneClipboard::IsModelsAttached(GDataObjectOffer(source)));
    EXPECT_FALSE(GKorvaneClipboard::IsModelsAttached(ForeignOffer(source)));
    EXPECT_FALSE(GKorvaneClipboard::IsModelsAttached(BytesOffer(GKorvaneClipboard::ProcessIdFormat(), {1, 2})));
}

TEST(ClipboardFormats, TheRecordLayoutAndBrokenRecords) {
    GCompoundModel model(2, 2);
    model.setName("one");
    const std::vector<BYTE> bytes = GModelRecords::Write({{&model, GCompoundModel::TypeObject, false}});
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(GModelRecords::GetDWord(bytes.data()), 1u);
    EXPECT_EQ(GModelRecords::GetDWord(&bytes[4]), static_cast<DWORD>(GCompoundModel::TypeObject));
    EXPECT_EQ(GModelRecords::GetDWord(&bytes[8]), bytes.size() - 8) << "the length counts itself";
    // Every shortened copy gives no records or models that read as null; never more than one record.
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
        const GModelRecords records(cut);
        EXPECT_EQ(records.size(), 0u) << size;
    }
    // A count far beyond the bytes claims nothing.
    std::vector<BYTE> claims = bytes;
    claims[3] = 0x7F;
    EXPECT_EQ(GModelRecords(claims).size(), 0u);
    // Damaged object bytes read as a null model.
    std::vector<BYTE> damaged = bytes;
    for (std::size_t i = 12; i < damaged.size(); ++i)
        damaged[i] = static_cast<BYTE>(i * 37);
    GModelRecords records(damaged);
    ASSERT_EQ(records.size(), 1u);
    std::unique_ptr<GCompoundModel> read(records.read(0));
    EXPECT_EQ(read, nullptr);
}

// Blank images travel as their size only, within one budget for the whole transfer: a second record cannot claim
// again what the first one used (each alone would be allowed).
TEST(ClipboardFormats, BlankImagesShareOneBudget) {
    GCompoundModel first(1, 1);
    GCompoundModel second(3, 5);
    std::vector<BYTE> bytes = GModelRecords::Write(
        {{&first, GCompoundModel::TypeObject, false}, {&second, GCompoundModel::TypeObject, false}});
    const BYTE size[] = {3, 0, 0, 0, 5, 0, 0, 0};
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin(size), std::end(size));
    ASSERT_NE(at, bytes.end()) << "the blank image went as its size";
    GModelRecords intact(bytes);
    ASSERT_EQ(intact.size(), 2u);
    std::unique_ptr<GCompoundModel> one(intact.read(0));
    std::unique_ptr<GCompoundModel> two(intact.read(1));
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->get_width(), 3);

    const BYTE whole[] = {0, 0x20, 0, 0, 0, 0x10, 0, 0}; // 8192 x 4096, the whole budget
    std::copy(std::begin(whole), std::end(whole), at);
    GModelRecords claiming(bytes);
    one.reset(claiming.read(0));
    EXPECT_NE(one, nullptr);
    EXPECT_EQ(std::unique_ptr<GCompoundModel>(claiming.read(1)), nullptr);
}

TEST_F(DocumentTest, InsertedModelsBecomeObjectsOrTheBackground) {
    // An unnamed picture with every pixel set, offered as an object, replaces the background instead; a named one
    // becomes an object centred on the point.
    GCompoundModel background(40, 30);
    background.getModifiableImage().full_fill(0xFF112233);
    GCompoundModel sticker(4, 4);
    sticker.getModifiableImage().full_fill(0xFF445566);
    sticker.setName("sticker");
    const std::vector<BYTE> records = GModelRecords::Write(
        {{&background, GCompoundModel::TypeObject, false}, {&sticker, GCompoundModel::TypeObject, false}});
    const BytesOffer offer(GKorvaneClipboard::ModelsFormat(), records);
    EXPECT_EQ(GModelInsertion::Insert(offer, {20, 10}, false), 2);
    GCompoundModel* root = document->getModel();
    EXPECT_EQ(root->get_width(), 40);
    EXPECT_EQ(root->getImage().get_pixel(0, 0), 0xFF112233u);
    ASSERT_EQ(root->getChildCount(), 1);
    EXPECT_EQ(root->getChild(0)->getOrigin().x, 18);
    EXPECT_EQ(root->getChild(0)->getOrigin().y, 8);
    // A move of models that belong to a document of this process is left to its drag source.
    MixedSource attached;
    attached.markModelsAsAttached();
    EXPECT_EQ(GModelInsertion::Insert(GDataObjectOffer(attached), {5, 5}, true), 1) << "only the loaded model";
}
