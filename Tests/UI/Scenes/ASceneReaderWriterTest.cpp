#include "Scenes/ASceneReaderWriter.h"
#include "ImageFormats/ImageReaderWriterList.h"
#include "Model/GCompoundModel.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A background with one half-transparent object, as scene bytes.
std::vector<BYTE> sceneBytes(GCompoundModel& root) {
    auto* object = new GCompoundModel(4, 4);
    GSprite& pixels = object->getModifiableImage();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            pixels.set_pixel(x, y, 0x80FF0000);
    object->invalidate();
    object->setOrigin(POINT{2, 3});
    object->setName("red");
    root.addChild(object);
    ompstream stream;
    EXPECT_TRUE(ASceneReaderWriter().write_image(stream, root));
    const auto* data = static_cast<const BYTE*>(stream.data());
    return std::vector<BYTE>(data, data + stream.length());
}

} // namespace

TEST(ASceneReaderWriter, ScenesRoundTripAndComposeForOtherImages) {
    GCompoundModel root(10, 8);
    std::vector<BYTE> bytes = sceneBytes(root);
    ASceneReaderWriter format;
    impstream recognised(bytes.data(), bytes.size());
    EXPECT_TRUE(format.is(recognised));
    impstream info(bytes.data(), bytes.size());
    FileImageInfo size;
    ASSERT_TRUE(format.read_info(info, size));
    EXPECT_EQ(size.width, 10);
    EXPECT_EQ(size.height, 8);

    GCompoundModel read(1, 1);
    read.addChild(new GCompoundModel(2, 2)); // replaced by the scene's
    impstream whole(bytes.data(), bytes.size());
    ASSERT_TRUE(format.read_image(whole, read));
    ASSERT_EQ(read.getChildCount(), 1);
    EXPECT_EQ(read.getChild(0)->getName(), "red");
    EXPECT_EQ(read.getChild(0)->getParent(), &read);
    EXPECT_EQ(read.getCombinedImage().get_pixel(3, 4), root.getCombinedImage().get_pixel(3, 4));

    GDIBImage flat;
    impstream composed(bytes.data(), bytes.size());
    ASSERT_TRUE(format.read_image(composed, flat));
    ASSERT_EQ(flat.get_width(), 10);
    const GSprite& expected = root.getCombinedImage();
    EXPECT_EQ(flat.get_pixel(3, 4), expected.get_pixel(3, 4));
    EXPECT_EQ(flat.get_pixel(0, 0), GCompoundModel::BackgroundPixel());
    EXPECT_NE(flat.get_pixel(3, 4), GCompoundModel::BackgroundPixel());
}

TEST(ASceneReaderWriter, ADamagedSceneFailsAndLeavesTheModelAsItWas) {
    GCompoundModel root(10, 8);
    const std::vector<BYTE> bytes = sceneBytes(root);
    GCompoundModel target(3, 3);
    target.setName("kept");
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        std::vector<BYTE> damaged(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        impstream stream(damaged.data(), damaged.size());
        EXPECT_NE(catchException<CException>([&] { ASceneReaderWriter().read_image(stream, target); }), nullptr);
        EXPECT_EQ(target.get_width(), 3);
        EXPECT_EQ(target.getName(), "kept");
    }
}

TEST(ASceneReaderWriter, ComesFirstAmongTheFormats) {
    ImageReaderWriterList readers;
    ASSERT_GT(GDIBReaderWriter::GetAllInfo(readers, GDIBReaderWriter::CanRead), 1);
    EXPECT_NE(readers.at(0)->cast_to_(typeid(ASceneReaderWriter)), nullptr);
    std::unique_ptr<GDIBReaderWriter, void (*)(GDIBReaderWriter*)> writer(GDIBReaderWriter::GetWriter("scene.kor"),
                                                                          [](GDIBReaderWriter* w) {
                                                                              if (w != nullptr)
                                                                                  w->destroyThis();
                                                                          });
    ASSERT_NE(writer, nullptr);
    EXPECT_NE(writer->cast_to_(typeid(ASceneReaderWriter)), nullptr);
}
