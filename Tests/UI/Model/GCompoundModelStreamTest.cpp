#include "Classes/GClassBoilerplate.h"
#include "Model/GCompoundModel.h"
#include "Streams/StreamFormat.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"
#include "UI/Model/ModelSamples.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::unique_ptr<GCompoundModel, void (*)(GCompoundModel*)> owned(GCompoundModel* model) {
    return {model, [](GCompoundModel* m) {
                if (m != nullptr)
                    m->destroyThis();
            }};
}

// An effect that counts the times a bounding rectangle is asked of it.
class GBoundsCountingEffect : public GImageEffect {
    G_CLASS(GBoundsCountingEffect)
    void adjustBoundingRect(RECT&) const override { ++Asked; }
    static inline long Asked = 0;
};

G_IMPLEMENT_CLASS(GBoundsCountingEffect, GImageEffect)

} // namespace

TEST(GCompoundModelStream, ATreeRoundTripsWithEverythingItHolds) {
    GCompoundModel root(6, 5);
    AddSampleTree(root);
    GIPLCompositionMode mode(1);
    mode.alphaPremultiplied(true);

    mpstream stream;
    stream.writePointer(&root);
    stream.seekg(0, GIO::FromBegin);
    auto read = owned(stream.readPointer<GCompoundModel>());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getImage().get_pixel(2, 2), 0xFF000000u);
    ASSERT_EQ(read->getChildCount(), 1);
    const GCompoundModel* copy = read->getChild(0);
    EXPECT_EQ(copy->getParent(), read.get());
    EXPECT_EQ(copy->getOrigin().y, 2);
    EXPECT_EQ(copy->getName(), "object");
    EXPECT_TRUE(copy->locked());
    EXPECT_EQ(copy->getCompositionMode(), mode);
    EXPECT_EQ(copy->getEffectCount(), 1);
    EXPECT_EQ(copy->getEffect(0)->getModel(), copy);
    ASSERT_EQ(copy->getChildCount(), 1);
    EXPECT_FALSE(copy->getChild(0)->visible());
    EXPECT_EQ(copy->getChild(0)->getName(), "inner");
}

TEST(GCompoundModelStream, ABlankModelIsStoredAsItsSize) {
    GCompoundModel blank(300, 200);
    mpstream stream;
    stream.writePointer(&blank);
    EXPECT_LT(stream.length(), 200u);
    stream.seekg(0, GIO::FromBegin);
    auto read = owned(stream.readPointer<GCompoundModel>());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->get_width(), 300);
    EXPECT_EQ(read->getImage().get_pixel(299, 199), GCompoundModel::BackgroundPixel());
    EXPECT_FALSE(read->baseImageExists());
}

TEST(GCompoundModelStream, EveryOlderVersionReads) {
    for (BYTE version = 0; version <= 10; ++version) {
        SCOPED_TRACE(static_cast<int>(version));
        OldModel old(version);
        mpstream stream;
        stream.writePointer(&old);
        stream.seekg(0, GIO::FromBegin);
        auto read = owned(stream.readPointer<GCompoundModel>());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->get_width(), 2);
        EXPECT_EQ(read->getImage().get_pixel(1, 0), 0xFF445566u);
        EXPECT_EQ(read->getOrigin().x, 5);
        EXPECT_EQ(read->visible(), version < 3);
        EXPECT_EQ(read->getName(), version >= 5 ? "old" : "");
        EXPECT_EQ(read->locked(), version >= 7);
        EXPECT_EQ(read->getEffectCount(), version >= 6 ? 1 : 0);
        EXPECT_EQ(read->getCompositionMode(), GIPLCompositionMode(0)); // type 0, both flags false
    }
}

TEST(GCompoundModelStream, ANewerVersionAndAnImpossibleSizeAreRefused) {
    for (const BYTE version : {BYTE{12}, BYTE{11}}) {
        mpstream stream;
        GCompoundModel model(1, 1);
        stream.writePointer(&model);
        std::vector<BYTE> bytes(static_cast<const BYTE*>(stream.data()),
                                static_cast<const BYTE*>(stream.data()) + stream.length());
        // The body starts after the pointer byte, the prefix marker and the class name.
        const std::size_t body = 1 + 4 + 2 + std::strlen("GCompoundModel");
        bytes[body] = version;
        if (version == 11) { // a blank model of 0x7FFFFFFF x 2 pixels
            bytes[body + 2] = 0xFF;
            bytes[body + 3] = 0xFF;
            bytes[body + 4] = 0xFF;
            bytes[body + 5] = 0x7F;
        }
        impstream damaged(bytes.data(), bytes.size());
        EXPECT_NE(catchException<CException>([&] { damaged.readPointer<GCompoundModel>(); }), nullptr);
        damaged.destroyReadObjects();
    }
}

TEST(GCompoundModelStream, BlankModelsShareOneStreamsPixelBudget) {
    GCompoundModel root(1, 1); // blank, as is its child: 17 pixels without data
    root.addChild(new GCompoundModel(4, 4));
    mpstream stream;
    stream.writePointer(&root);
    stream.seekg(0, GIO::FromBegin);
    stream.ipstream::claimUnbackedPixels(StreamFormat::UnbackedPixels - 17);
    owned(stream.readPointer<GCompoundModel>());

    stream.seekg(0, GIO::FromBegin);
    stream.ipstream::claimUnbackedPixels(StreamFormat::UnbackedPixels - 16);
    EXPECT_NE(catchException<CException>([&] { stream.readPointer<GCompoundModel>(); }), nullptr);
    stream.destroyReadObjects();

    // A writer past the same budget stores the child with its pixels, so its readers can read it.
    mpstream full;
    full.reserveUnbackedPixels(StreamFormat::UnbackedPixels - 16);
    full.writePointer(&root);
    full.seekg(0, GIO::FromBegin);
    full.ipstream::claimUnbackedPixels(StreamFormat::UnbackedPixels - 16);
    auto read = owned(full.readPointer<GCompoundModel>());
    ASSERT_EQ(read->getChildCount(), 1);
    EXPECT_FALSE(read->getChild(0)->baseImageExists());
    EXPECT_GT(full.length(), stream.length() + 16 * 4);
}

TEST(GCompoundModelStream, AnEffectOfAnUnknownClassIsSkipped) {
    GCompoundModel model(2, 2);
    model.addEffect(new GImageEffect);
    model.setCompositionMode(GIPLCompositionMode(3));
    mpstream stream;
    stream.writePointer(&model);
    std::string bytes(static_cast<const char*>(stream.data()), stream.length());
    for (std::size_t at = bytes.find("GImageEffect"); at != std::string::npos; at = bytes.find("GImageEffect"))
        bytes.replace(at, 12, "GFutureBlurs"); // a class this program does not have, in prefix and suffix
    impstream read(bytes.data(), bytes.size());
    auto skipped = owned(read.readPointer<GCompoundModel>());
    ASSERT_NE(skipped, nullptr);
    EXPECT_EQ(skipped->getEffectCount(), 0);
    EXPECT_EQ(skipped->getCompositionMode(), GIPLCompositionMode(3)); // what follows the effect still reads
}

TEST(GCompoundModelStream, AnOriginTooFarOutIsRefused) {
    constexpr LONG Farthest = LONG{1} << 20;
    for (const POINT origin : {POINT{Farthest, -Farthest}, POINT{Farthest + 1, 0}, POINT{0, -Farthest - 1},
                               POINT{INT_MAX, 0}, POINT{0, INT_MIN}}) {
        GCompoundModel root(2, 2);
        auto* child = new GCompoundModel(1, 1);
        child->setOrigin(origin);
        root.addChild(child);
        mpstream stream;
        stream.writePointer(&root);
        stream.seekg(0, GIO::FromBegin);
        if (origin.x == Farthest) {
            EXPECT_EQ(owned(stream.readPointer<GCompoundModel>())->getChild(0)->getOrigin().y, -Farthest);
            continue;
        }
        EXPECT_NE(catchException<CException>([&] { stream.readPointer<GCompoundModel>(); }), nullptr)
            << origin.x << ", " << origin.y;
        stream.destroyReadObjects();
    }
}

TEST(GCompoundModelStream, ManyEffectsAreReadAndCopiedWithOneInvalidation) {
    constexpr int Count = 3000;
    GCompoundModel model(2, 2);
    for (int i = 0; i < Count; ++i)
        model.addEffect(new GBoundsCountingEffect);
    mpstream stream;
    stream.writePointer(&model);
    stream.seekg(0, GIO::FromBegin);
    GBoundsCountingEffect::Asked = 0;
    auto read = owned(stream.readPointer<GCompoundModel>());
    ASSERT_EQ(read->getEffectCount(), Count);
    EXPECT_LE(GBoundsCountingEffect::Asked, 4 * Count); // each invalidation asks every effect
    GBoundsCountingEffect::Asked = 0;
    GCompoundModel copy(*read);
    copy = model; // the copy's effects replaced by the model's
    EXPECT_EQ(copy.getEffectCount(), Count);
    EXPECT_LE(GBoundsCountingEffect::Asked, 16 * Count);
}
