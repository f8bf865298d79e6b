// libFuzzer target for scene files: whatever the bytes, reading a scene ends in a clean failure or a tree that
// composes, is hit-tested, and writes and reads back, with no crash, leak, hang or allocation beyond the limits.
// An input that is no scene file is taken as the object stream inside one.

#include "Errors/GException.h"
#include "Fuzz/SceneContainer.h"
#include "Model/GCompoundModel.h"
#include "Scenes/ASceneReaderWriter.h"
#include "Streams/mpstream.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Pixels the tree's models hold, own images only.
unsigned long long treePixels(const GCompoundModel& model) {
    unsigned long long pixels = static_cast<unsigned long long>(model.get_width()) * model.get_height();
    for (int i = 0; i < model.getChildCount(); ++i)
        pixels += treePixels(*model.getChild(i));
    return pixels;
}

// A scene that was read whole must compose, and must read back from what it writes.
void exercise(GCompoundModel& scene) {
    if (treePixels(scene) <= (1U << 22)) {
        scene.getCombinedImage();
        scene.findImageUnderCursor(GPoint(scene.get_width() / 2, scene.get_height() / 2));
        scene.softGlowImage();
    }
    ompstream written;
    ASceneReaderWriter().write_image(written, scene);
    GCompoundModel again;
    impstream reread(written.data(), written.length());
    try {
        ASceneReaderWriter().read_image(reread, again);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        std::abort(); // the program cannot read a scene it wrote
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AddCoreStringLoader();
    AddUIStringLoader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<BYTE> scene(data, data + size);
    if (size < 8 || std::memcmp(data, "KORSCENE", 8) != 0)
        scene = SceneFileOf(data, size);
    try {
        impstream measured(scene.data(), scene.size());
        FileImageInfo info;
        ASceneReaderWriter().read_info(measured, info);
        // The root is copied into the target: only small roots are read again (the read above went through all).
        if (static_cast<unsigned long long>(info.width) * info.height > (1U << 22))
            return 0;
        GCompoundModel model(1, 1);
        impstream whole(scene.data(), scene.size());
        ASceneReaderWriter().read_image(whole, model);
        exercise(model);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
    }
    return 0;
}
