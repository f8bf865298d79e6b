#include "Platform/ipl/IplRows.h"

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

void readRow(const Part& part, int j, int width, std::vector<int>& out) {

    out.resize(static_cast<std::size_t>(width * part.laneCount));
    for (int i = 0; i < width; ++i) {
        for (int c = 0; c < part.laneCount; ++c) {
            int value = 0;
            switch (bitsOf(part.image)) {
            case 1:
                value = bitAt(part.image, part.x + i, part.y + j) ? 1 : 0;
                break;
            case 8:
                value = part.row<std::uint8_t>(j)[i * part.pixelElements + part.lanes[c]];
                break;
            case 16:
                value = part.row<std::uint16_t>(j)[i * part.pixelElements + part.lanes[c]];
                break;
            default:
                value = part.row<std::int32_t>(j)[i * part.pixelElements + part.lanes[c]];
                break;
            }
            out[static_cast<std::size_t>(i * part.laneCount + c)] = value;
        }
    }
}

} // namespace ipl
