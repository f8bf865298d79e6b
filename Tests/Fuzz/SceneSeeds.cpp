// Writes the scene fuzzer's seed inputs into the folder given: scenes of every model version, blank and drawn
// models, a tree of three levels with effects, names, visibility, locks and composition modes.

#include "Fuzz/SceneContainer.h"
#include "Model/GCompoundModel.h"
#include "Streams/mpstream.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"
#include "UI/Model/ModelSamples.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void save(const std::filesystem::path& path, const void* data, std::size_t size) {
    std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Each root twice: as a scene file, and as its bare object stream, which the fuzzer wraps into a scene itself.
void saveRoot(const std::filesystem::path& path, const GStreamable& root) {
    mpstream stream;
    stream.writePointer(&root);
    const std::vector<BYTE> scene = SceneFileOf(stream.data(), stream.length());
    save(path.string() + ".kor", scene.data(), scene.size());
    save(path.string() + ".stream", stream.data(), stream.length());
}

// The sample tree, with a drawn, half-transparent model and a blank one beside it.
void saveTree(const std::filesystem::path& path) {
    GCompoundModel root(24, 16);
    AddSampleTree(root);
    auto* drawn = new GCompoundModel(8, 6);
    drawn->getModifiableImage().full_fill(0x80FF2010);
    drawn->invalidate();
    drawn->setOrigin(POINT{-3, 4});
    root.addChild(drawn);
    root.addChild(new GCompoundModel(5, 5));
    saveRoot(path, root);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: SceneSeeds FOLDER\n");
        return 2;
    }
    AddCoreStringLoader();
    AddUIStringLoader();
    const std::filesystem::path folder = argv[1];
    saveRoot(folder / "blank", GCompoundModel(7, 3));
    saveTree(folder / "tree");
    for (BYTE version = 0; version <= 10; ++version)
        saveRoot(folder / ("version" + std::to_string(version)), OldModel(version));
    return 0;
}
