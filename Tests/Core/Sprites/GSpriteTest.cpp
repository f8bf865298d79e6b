#include "Sprites/GSprite.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/mpstream.h"
#include "Support/ExceptionTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int setBits(const GIPLMask& mask) {
    int count = 0;
    for (int y = 0; y < mask.get_height(); ++y)
        for (int x = 0; x < mask.get_width(); ++x)
            count += mask.getBit(x, y) ? 1 : 0;
    return count;
}

GSprite filled(int width, int height, DWORD colour) {
    GSprite sprite(width, height);
    sprite.full_fill(colour);
    return sprite;
}

} // namespace

TEST(GSprite, TheMaskFollowsTheImage) {
    GSprite sprite(4, 3);
    EXPECT_EQ(sprite.mask().get_width(), 4);
    EXPECT_EQ(sprite.mask().get_height(), 3);
    EXPECT_EQ(setBits(sprite.mask()), 12);
    RECT bounds;
    sprite.getBoundingRect(bounds);
    EXPECT_EQ(bounds.right, 4);
    EXPECT_EQ(bounds.bottom, 3);

    sprite.mask().setBit(1, 1, false);
    const GSprite copy(sprite);
    EXPECT_FALSE(copy.mask().getBit(1, 1));
    sprite.mask().setBit(2, 2, false);
    EXPECT_TRUE(copy.mask().getBit(2, 2)); // deep

    GSprite assigned;
    assigned = sprite;
    EXPECT_EQ(setBits(assigned.mask()), 10);
    assigned.resize(0, 0);
    EXPECT_TRUE(assigned.mask().is_empty());

    std::vector<GIPLImage*> images;
    sprite.getAllImages(images);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1], &sprite.mask());
}

TEST(GSprite, MasksFromTransparency) {
    GSprite sprite(6, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            sprite.set_pixel(x, y, (x < 3 ? 127u : 128u) << 24 | 0x123456);
    GIPLMask out;
    sprite.getMaskFromTransparency(out, 128);
    EXPECT_EQ(setBits(out), 6);
    EXPECT_TRUE(out.getBit(3, 0));
    EXPECT_FALSE(out.getBit(2, 1));

    sprite.mask().setBit(4, 0, false);
    sprite.addMaskFromTransparency(128); // narrowed
    EXPECT_EQ(setBits(sprite.mask()), 5);
    sprite.set_pixel(5, 1, 0x00FFFFFF); // wholly transparent
    sprite.getFullMask(out);
    EXPECT_EQ(setBits(out), 4);
    sprite.setMaskFromTransparency(1);
    EXPECT_EQ(setBits(sprite.mask()), 11);
}

TEST(GSprite, PuttingSpritesHonoursBothMasks) {
    GSprite target = filled(8, 8, 0xFF000000);
    GSprite source = filled(4, 4, 0xFFFF0000);
    iplSet(source.mask().get_image(), 0);
    target.putSprite(source, POINT{2, 2}, GIPLCompositionMode(-1));
    EXPECT_EQ(target.get_pixel(3, 3), 0xFF000000u); // a clear source mask takes nothing

    source.mask().setBit(0, 0, true);
    source.mask().setBit(1, 0, true);
    target.mask().setBit(3, 2, false);
    target.putSprite(source, POINT{2, 2}, GIPLCompositionMode(-1));
    EXPECT_EQ(target.get_pixel(2, 2), 0xFFFF0000u);
    EXPECT_EQ(target.get_pixel(3, 2), 0xFF000000u); // outside the destination mask
    EXPECT_EQ(target.get_pixel(2, 3), 0xFF000000u); // outside the source mask

    GSprite half = filled(2, 2, 0x80FFFFFF);
    target.putSprite(RECT{0, 0, 1, 1}, half, POINT{0, 0}, GIPLCompositionMode(0));
    EXPECT_NE(target.get_pixel(0, 0), 0xFF000000u); // composited inside the clip
    EXPECT_EQ(target.get_pixel(1, 1), 0xFF000000u); // outside it

    GSprite masks(8, 8);
    iplSet(masks.mask().get_image(), 0);
    masks.putMask(RECT{0, 0, 8, 8}, source, POINT{1, 1});
    EXPECT_TRUE(masks.mask().getBit(1, 1));
    EXPECT_TRUE(masks.mask().getBit(2, 1));
    EXPECT_FALSE(masks.mask().getBit(1, 2));
}

TEST(GSprite, StreamsImageAndMask) {
    GSprite sprite = filled(5, 3, 0x80102030);
    sprite.mask().setBit(4, 2, false);
    mpstream stream;
    stream.writeStreamable(sprite);
    stream.seekg(0, GIO::FromBegin);
    GSprite read;
    stream.readStreamable(read);
    EXPECT_EQ(read.get_pixel(2, 1), 0x80102030u);
    EXPECT_EQ(setBits(read.mask()), 14);
    EXPECT_FALSE(read.mask().getBit(4, 2));

    // A stream whose mask is null or of another size gives a full mask; version 0 carries a second mask.
    for (const bool old : {false, true}) {
        mpstream odd;
        odd.writeByte(old ? 0 : 1);
        GDIBImage(3, 2).write(odd);
        odd.writePointer(nullptr);
        if (old) {
            const GIPLMask extra(7, 7);
            odd.writePointer(&extra);
        }
        odd.seekg(0, GIO::FromBegin);
        GSprite back;
        back.read(odd);
        EXPECT_EQ(setBits(back.mask()), 6) << old;
        EXPECT_EQ(odd.countOfReadBytes(), odd.length());
    }

    mpstream newer;
    newer.writeByte(2);
    newer.seekg(0, GIO::FromBegin);
    EXPECT_NE(catchException<NewVersionOfClass_Exception>([&] { read.read(newer); }), nullptr);
}
