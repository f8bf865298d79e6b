#pragma once
// A scene file around an object stream: the header, then the stream deflated by the compression layer. The scene
// fuzzer wraps its inputs in it so that mutations reach the models' own bytes rather than break the deflate data.

#include "IO/GCompressionIO.h"
#include "IO/GMemoryIO.h"
#include "Streams/mpstream.h"

#include <cstddef>
#include <vector>

inline std::vector<BYTE> SceneFileOf(const void* objectStream, std::size_t size) {
    auto* memory = new GMemoryIO; // the compression layer's device, owned by it
    memory->open(0);
    opstream packed(new GCompressionIO(memory));
    packed.writeBytes(objectStream, size);
    packed.flush();
    ompstream scene;
    scene.writeBytes("KORSCENE", 8);
    scene.writeDWord(1);
    scene.writeDWord(static_cast<DWORD>(memory->length()));
    scene.writeBytes(memory->buffer(), memory->length());
    const auto* data = static_cast<const BYTE*>(scene.data());
    return std::vector<BYTE>(data, data + scene.length());
}
