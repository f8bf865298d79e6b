// What an undo step holds, measured on the heap, against what it reports; and what its snapshot restores.

#include "UI/Document/DocumentTesting.h"

#include <malloc.h>

#include <cstddef>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_HEAP_FROM_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_HEAP_FROM_SANITIZER 1
#endif
#endif
#ifdef KORVANE_HEAP_FROM_SANITIZER
// The sanitizer runtime's count of the bytes it has handed out (GCC ships no header declaring it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes of the heap in use, blocks mapped on their own included.
long long heapInUse() {
#ifdef KORVANE_HEAP_FROM_SANITIZER
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
#endif
}

// Fills the selected model with a colour, undone by the snapshot of the selected model; optionally forgets the
// model's unmodified copy, as restoring the original look does.
class FillCommand : public GImageCommand {
public:
    explicit FillCommand(DWORD pixel, bool forgetOriginal = false)
        : GImageCommand(UndoSelectedModel), m_pixel(pixel), m_forgetOriginal(forgetOriginal) {}
    const GMetaClass& getMetaClass() const override { return GImageCommand::metaclass_; }
    bool doit() override {
        getSelectedModel()->getModifiableImage().full_fill(m_pixel);
        if (m_forgetOriginal)
            getSelectedModel()->resetUnmodifiedImage();
        getSelectedModel()->invalidate();
        return true;
    }

private:
    DWORD m_pixel;
    bool m_forgetOriginal;
};

} // namespace

TEST_F(DocumentTest, AnUndoStepHoldsWhatItReports) {
    GCompoundModel* object = addObject(512, 512, {0, 0});
    object->addEffect(new GImageEffect); // on and internal: the object composes into its cache
    object->getCombinedImage();
    object->softGlowImage();
    ASSERT_NE(object->getUnmodifiedModel(), object);
    const long long before = heapInUse();
    auto* command = new FillCommand(0xFF102030);
    document->attachCommand(command);
    const long long held = heapInUse() - before;
    const auto reported = static_cast<long long>(command->undoMemory());
    std::printf("undo step of a 512 x 512 object: %lld bytes reported, %lld on the heap\n", reported, held);
    ASSERT_TRUE(document->applyLastCommand());
    EXPECT_GE(reported, 2 * 512 * 512 * 4); // the object's pixels and those of its unmodified copy
    EXPECT_LT(held > reported ? held - reported : reported - held, 64 << 10);
}

TEST_F(DocumentTest, UndoBringsBackTheUnmodifiedCopyAndRedoThePixels) {
    GCompoundModel* object = addObject(8, 8, {2, 2}, 0xFF0000AA);
    ASSERT_TRUE(document->applyCommand(new FillCommand(0xFF0000BB)));
    ASSERT_EQ(object->getUnmodifiedImage().get_pixel(3, 3), 0xFF0000AAu);
    ASSERT_TRUE(document->applyCommand(new FillCommand(0xFF0000CC, true)));
    ASSERT_EQ(object->getUnmodifiedModel(), object);
    ASSERT_TRUE(document->undo());
    EXPECT_EQ(object->getImage().get_pixel(3, 3), 0xFF0000BBu);
    ASSERT_NE(object->getUnmodifiedModel(), object);
    EXPECT_EQ(object->getUnmodifiedImage().get_pixel(3, 3), 0xFF0000AAu);
    EXPECT_EQ(document->getModel()->getCombinedImage().get_pixel(5, 5), 0xFF0000BBu);
    ASSERT_TRUE(document->redo());
    EXPECT_EQ(document->getModel()->getCombinedImage().get_pixel(5, 5), 0xFF0000CCu);
    EXPECT_EQ(object->getUnmodifiedModel(), object);
}

// An object taken out of the scene by undo is held by its command: its pixels and those of its children, without
// the glow and the composed image, which compose again when it comes back.
TEST_F(DocumentTest, AnObjectHeldOutOfTheSceneHoldsWhatItsStepReports) {
    const long long before = heapInUse();
    auto* object = new GCompoundModel(256, 256);
    object->getModifiableImage().full_fill(0xFF102030);
    auto* child = new GCompoundModel(128, 128);
    child->getModifiableImage().full_fill(0xFF405060);
    child->setOrigin(POINT{64, 64});
    object->addChild(child);
    object->addEffect(new GImageEffect);
    auto* command = new AddObjectCommand(object);
    ASSERT_TRUE(document->applyCommand(command));
    object->getCombinedImage();
    object->softGlowImage();
    const DWORD composed = object->getCombinedImage().get_pixel(100, 100);
    ASSERT_TRUE(document->undo());
    const long long held = heapInUse() - before;
    const auto reported = static_cast<long long>(command->undoMemory());
    EXPECT_GE(reported, (256 * 256 + 128 * 128) * 4);
    EXPECT_LT(held > reported ? held - reported : reported - held, 64 << 10) << held << " held, " << reported;
    ASSERT_TRUE(document->redo());
    EXPECT_EQ(object->getCombinedImage().get_pixel(100, 100), composed);
    EXPECT_EQ(document->getModel()->getCombinedImage().get_pixel(100, 100), composed);
}
