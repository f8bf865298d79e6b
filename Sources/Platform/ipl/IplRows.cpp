#include "ipl/IplRows.h"

namespace ipl {

namespace {

template <class T>
void storeTyped(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width) {
    T* row = part.row<T>(j);
    const int lanes = part.laneCount;
    if (enabled == nullptr && part.allLanes) {
        // Clamped in int where the values fit, which keeps the loop vectorised.
        if constexpr (sizeof(T) < sizeof(int)) {
            constexpr int low = std::numeric_limits<T>::min();
            constexpr int high = std::numeric_limits<T>::max();
            for (int k = 0; k < width * lanes; ++k)
                row[k] = static_cast<T>(values[k] < low ? low : values[k] > high ? high : values[k]);
        } else {
            for (int k = 0; k < width * lanes; ++k)
                row[k] = static_cast<T>(values[k]);
        }
        return;
    }
    for (int i = 0; i < width; ++i)
        if (enabled == nullptr || enabled[i] != 0)
            for (int c = 0; c < lanes; ++c)
                row[i * part.pixelElements + part.lanes[c]] = saturate<T>(values[i * lanes + c]);
}

// Bits are packed a byte at a time where the row is byte-aligned and no mask applies.
void storeBits(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width) {
    int i = 0;
    if (enabled == nullptr && part.x % 8 == 0) {
        auto* row =
            reinterpret_cast<std::uint8_t*>(part.image->imageData + (part.y + j) * part.image->widthStep) + part.x / 8;
        for (; i + 8 <= width; i += 8) {
            std::uint8_t byte = 0;
            for (int k = 0; k < 8; ++k)
                byte = static_cast<std::uint8_t>(byte << 1 | (values[i + k] != 0 ? 1 : 0));
            row[i / 8] = byte;
        }
    }
    for (; i < width; ++i)
        if (enabled == nullptr || enabled[i] != 0)
            setBit(part.image, part.x + i, part.y + j, values[i] != 0);
}

template <class T>
void readTyped(const Part& part, int x, int y, int count, int* out) {
    const IplImage* image = part.image;
    const T* row = reinterpret_cast<const T*>(image->imageData + y * image->widthStep) + x * part.pixelElements;
    const int lanes = part.laneCount;
    if (part.allLanes) {
        for (int k = 0; k < count * lanes; ++k)
            out[k] = row[k];
        return;
    }
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < lanes; ++c)
            out[i * lanes + c] = row[i * part.pixelElements + part.lanes[c]];
}

} // namespace

void storeRow(const Part& part, int j, const int* values, const std::uint8_t* enabled, int width) {
    switch (bitsOf(part.image)) {
    case 1:
        storeBits(part, j, values, enabled, width);
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

void readPixels(const Part& part, int x, int y, int count, int* out) {
    switch (bitsOf(part.image)) {
    case 1:
        for (int i = 0; i < count; ++i)
            out[i] = bitAt(part.image, x + i, y) ? 1 : 0;
        break;
    case 8:
        readTyped<std::uint8_t>(part, x, y, count, out);
        break;
    case 16:
        readTyped<std::uint16_t>(part, x, y, count, out);
        break;
    default:
        readTyped<std::int32_t>(part, x, y, count, out);
        break;
    }
}

void readRow(const Part& part, int j, int width, std::vector<int>& out) {
    out.resize(static_cast<std::size_t>(width * part.laneCount));
    readPixels(part, part.x, part.y + j, width, out.data());
}

} // namespace ipl
