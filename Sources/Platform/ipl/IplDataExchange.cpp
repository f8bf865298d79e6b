// Copying, filling and converting pixels.

#include "ipl/IplLoops.h"

#include <algorithm>
#include <cstring>

using namespace ipl;

namespace {

template <class T>
void fillValues(Area& area, T value) {
    const Part& d = area[0];
    for (int j = 0; j < area.height; ++j) {
        T* row = d.row<T>(j);
        const std::uint8_t* enabled = area.enabled(j);
        if (area.contiguous()) {
            std::fill(row, row + area.width * d.pixelElements, value);
            continue;
        }
        for (int i = 0; i < area.width; ++i)
            if (enabled == nullptr || enabled[i] != 0)
                for (int c = 0; c < d.laneCount; ++c)
                    row[i * d.pixelElements + d.lanes[c]] = value;
    }
}

// A header of the whole image with no region, mask or alpha channel: what the conversion works on.
IplImage wholeImage(const IplImage* image) {
    IplImage whole = *image;
    whole.roi = nullptr;
    whole.maskROI = nullptr;
    whole.alphaChannel = 0;
    return whole;
}

} // namespace

// A source that shares pixels with the destination at another place is read from a snapshot, so the result is
// the one an out-of-place copy gives.
namespace {

// Every channel of pixels of four bytes takes part (a masked copy of 32-bit pictures, the scene's common case).
bool wholeFourBytePixels(const Area& area) {
    return area[0].allLanes && area[1].allLanes && area[0].pixelElements * (bitsOf(area[0].image) / 8) == 4;
}

// Row j of a part as whole four-byte pixels.
std::uint32_t* pixelRow(const Part& part, int j) {
    return reinterpret_cast<std::uint32_t*>(part.image->imageData + (part.y + j) * part.image->widthStep) + part.x;
}

// The pixels of `from` where `enabled` holds 1, over those of `to`: a branch-free select the compiler vectorises.
IPL_LOOP_BODY void selectPixelsLoop(const std::uint8_t* __restrict enabled, const std::uint32_t* __restrict from,
                                    std::uint32_t* __restrict to, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint32_t take = 0u - enabled[i]; // all ones where enabled, else 0
        to[i] = (from[i] & take) | (to[i] & ~take);
    }
}

IPL_AVX2 void selectPixelsAvx2(const std::uint8_t* enabled, const std::uint32_t* from, std::uint32_t* to, int count) {
    selectPixelsLoop(enabled, from, to, count);
}

void selectPixelsBaseline(const std::uint8_t* enabled, const std::uint32_t* from, std::uint32_t* to, int count) {
    selectPixelsLoop(enabled, from, to, count);
}

// Whole pixels where the masks let them through. A copy onto itself changes nothing.
void copyMaskedPixels(Area& area) {
    const auto select = hasAvx2() ? selectPixelsAvx2 : selectPixelsBaseline;
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* enabled = area.enabled(j);
        const std::uint32_t* from = pixelRow(area[0], j);
        std::uint32_t* to = pixelRow(area[1], j);
        if (from != to)
            select(enabled, from, to, area.width);
    }
}

// Eight bits of a one-bit row starting at bit p; the bits after p + 7 are not read.
inline std::uint8_t eightBits(const std::uint8_t* row, int p) {
    const int shift = p & 7;
    const std::uint8_t* at = row + (p >> 3);
    return shift == 0 ? at[0] : static_cast<std::uint8_t>(at[0] << shift | at[1] >> (8 - shift));
}

// `count` bits from bit `from` of one row to bit `to` of another: single bits up to a whole byte of the target,
// then whole target bytes, then the last bits.
void copyBitRun(const std::uint8_t* source, int from, std::uint8_t* target, int to, int count) {
    auto copyBit = [&](int i) {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> ((to + i) & 7));
        std::uint8_t& byte = target[(to + i) >> 3];
        byte = (source[(from + i) >> 3] & (0x80 >> ((from + i) & 7))) != 0 ? (byte | bit) : (byte & ~bit);
    };
    int i = 0;
    for (; i < count && ((to + i) & 7) != 0; ++i)
        copyBit(i);
    const int bytes = (count - i) / 8;
    if (((from + i) & 7) == 0) {
        std::memmove(target + ((to + i) >> 3), source + ((from + i) >> 3), static_cast<std::size_t>(bytes));
    } else {
        std::uint8_t* out = target + ((to + i) >> 3);
        for (int k = 0; k < bytes; ++k)
            out[k] = eightBits(source, from + i + 8 * k);
    }
    for (i += 8 * bytes; i < count; ++i)
        copyBit(i);
}

// `count` bits from bit `from` of row y set to `on`: single bits up to a whole byte, whole bytes, the last bits.
void fillBitRun(IplImage* image, int y, int from, int count, bool on) {
    const int end = from + count;
    int x = from;
    for (; x < end && (x & 7) != 0; ++x)
        setBit(image, x, y, on);
    const int bytes = (end - x) / 8;
    std::memset(image->imageData + y * image->widthStep + (x >> 3), on ? 0xFF : 0, static_cast<std::size_t>(bytes));
    for (x += 8 * bytes; x < end; ++x)
        setBit(image, x, y, on);
}

// One-bit images without masks, row by row.
void copyBitRows(const Area& area) {
    const Part& s = area[0];
    const Part& d = area[1];
    for (int j = 0; j < area.height; ++j)
        copyBitRun(reinterpret_cast<const std::uint8_t*>(s.image->imageData + (s.y + j) * s.image->widthStep), s.x,
                   reinterpret_cast<std::uint8_t*>(d.image->imageData + (d.y + j) * d.image->widthStep), d.x,
                   area.width);
}

} // namespace

void iplCopy(IplImage* srcImage, IplImage* dstImage) {
    Area area({srcImage, dstImage});
    if (!area || !sameDepth(area))
        return;
    if (area.overlapping(0, 1) && (area[0].image != area[1].image || area[0].x != area[1].x || area[0].y != area[1].y))
        area.snapshot(0);
    if (bitsOf(srcImage) == 1) {
        if (area.masked())
            mapBits(area, [](bool b) { return b; });
        else
            copyBitRows(area);
        return;
    }
    if (area.contiguous()) {
        const std::size_t bytes = static_cast<std::size_t>(area.width) * area[0].pixelElements * (bitsOf(srcImage) / 8);
        for (int j = 0; j < area.height; ++j)
            std::memmove(area[1].row<char>(j), area[0].row<char>(j), bytes);
        return;
    }
    if (wholeFourBytePixels(area)) {
        copyMaskedPixels(area);
        return;
    }
    withDepth(srcImage->depth, [&](auto type) {
        using T = decltype(type);
        mapValues<T, T>(area, [](T v) { return v; });
    });
}

// The value is kept whole for 32-bit data, saturated for 8 and 16 bits, and any non-zero value sets a bit.
void iplSet(IplImage* image, int fillValue) {
    Area area({image});
    if (!area)
        return;
    if (bitsOf(image) == 1 && !area.masked()) {
        for (int j = 0; j < area.height; ++j)
            fillBitRun(image, area[0].y + j, area[0].x, area.width, fillValue != 0);
        return;
    }
    if (bitsOf(image) == 1) {
        for (int j = 0; j < area.height; ++j) {
            const std::uint8_t* enabled = area.enabled(j);
            for (int i = 0; i < area.width; ++i)
                if (enabled == nullptr || enabled[i] != 0)
                    setBit(image, area[0].x + i, area[0].y + j, fillValue != 0);
        }
        return;
    }
    withDepth(image->depth, [&](auto type) {
        using T = decltype(type);
        fillValues<T>(area, saturate<T>(fillValue));
    });
}

// Whole images, whatever their regions and masks; values that do not fit the destination saturate.
void iplConvert(IplImage* srcImage, IplImage* dstImage) {
    if (srcImage == nullptr || dstImage == nullptr || srcImage->width != dstImage->width ||
        srcImage->height != dstImage->height || srcImage->nChannels != dstImage->nChannels)
        return;
    IplImage source = wholeImage(srcImage);
    IplImage target = wholeImage(dstImage);
    Area area({&source, &target}, Channels::All);
    if (!area || (bitsOf(srcImage) == 1) != (bitsOf(dstImage) == 1))
        return;
    if (bitsOf(srcImage) == 1) {
        if (area.masked())
            mapBits(area, [](bool b) { return b; });
        else
            copyBitRows(area);
        return;
    }
    withDepth(srcImage->depth, [&](auto sourceType) {
        using S = decltype(sourceType);
        withDepth(dstImage->depth, [&](auto targetType) {
            using D = decltype(targetType);
            mapValues<S, D>(area, [](S v) { return saturate<D>(v); });
        });
    });
}
