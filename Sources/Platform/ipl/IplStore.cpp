#include "Platform/ipl/IplStore.h"

namespace ipl {

namespace {

template <class T>
void storeTyped(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width) {
    T* row = part.row<T>(j);
    const int lanes = part.laneCount;
    if (enabled == nullptr && part.allLanes) {
        for (int k = 0; k < width * lanes; ++k)
            row[k] = saturate<T>(values[k]);
        return;
    }
    for (int i = 0; i < width; ++i)
        if (enabled == nullptr || enabled[i] != 0)
            for (int c = 0; c < lanes; ++c)
                row[i * part.pixelElements + part.lanes[c]] = saturate<T>(values[i * lanes + c]);
}

} // namespace

void storeRow(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width) {
    switch (bitsOf(part.image)) {
    case 1:
        for (int i = 0; i < width; ++i)
            if (enabled == nullptr || enabled[i] != 0)
                setBit(part.image, part.x + i, part.y + j, values[i] != 0);
        break;
    case 8:
        storeTyped<std::uint8_t>(part, j, values, enabled, width);
        break;
    case 16:
        storeTyped<std::uint16_t>(part, j, values, enabled, width);
        break;
    default:
        storeTyped<std::int32_t>(part, j, values, enabled, width);
        break;
    }
}

} // namespace ipl
