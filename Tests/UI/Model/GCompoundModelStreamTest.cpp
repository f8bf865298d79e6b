#include "Model/GCompoundModel.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<GCompoundModel, void (*)(GCompoundModel*)> owned(GCompoundModel* model) {
    return {model, [](GCompoundModel* m) {
                if (m != nullptr)
                    m->destroyThis();
            }};
}

// Writes a model stream in the layout of an older version, field by field as the format describes it: an image of
// 2 x 1 pixels, origin (5, 6), no children, invisible, named "old", locked, one effect, where the version has them.
class OldModel : public GStreamable {
public:
    explicit OldModel(BYTE version) : m_version(version) {}
    const GMetaClass& getMetaClass() const override { return GCompoundModel::metaclass_; }

    void write(opstream& stream) const override {
        GSprite image(2, 1);
        image.set_pixel(0, 0, 0xFF112233);
        image.set_pixel(1, 0, 0xFF445566);
        const BYTE v = m_version;
        stream.writeByte(v);
        if (v >= 10)
            stream.writeByte(1);
        if (v == 0)
            image.write(stream);
        else
            stream.writeStreamable(image);
        stream << GPoint(5, 6);
        stream.writeDWord(0); // children
        if (v >= 1 && v <= 7) {
            if (v < 4)
                stream.writeDWord(77);
            GSprite obsolete(1, 1);
            stream.writePointer(&obsolete);
        }
        if (v >= 2 && v <= 5)
            stream.fillBytes(14, 0); // the inline shadow, of a class this program lacks
        if (v >= 3)
            stream.writeDWord(0); // invisible
        if (v >= 9)
            stream.writeByte(2);
        else if (v >= 4)
            stream.writeDWord(0);
        if (v >= 5)
            stream << GString("old");
        if (v >= 7)
            stream.writeDWord(1);
        if (v >= 6) {
            stream.writeDWord(1);
            GImageEffect effect;
            stream.writePointer(&effect);
        }
    }

private:
    BYTE m_version;
};

} // namespace

TEST(GCompoundModelStream, ATreeRoundTripsWithEverythingItHolds) {
    GCompoundModel root(6, 5);
    root.getModifiableImage().set_pixel(2, 2, 0xFF000000);
    auto* object = new GCompoundModel(3, 3);
    object->setOrigin(POINT{1, 2});
    object->setName("object");
    object->locked(true);
    GIPLCompositionMode mode(1);
    mode.alphaPremultiplied(true);
    object->setCompositionMode(mode);
    object->addEffect(new GImageEffect(false));
    auto* inner = new GCompoundModel(1, 1);
    inner->visible(false);
    inner->setName("inner");
    object->addChild(inner);
    root.addChild(object);

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
