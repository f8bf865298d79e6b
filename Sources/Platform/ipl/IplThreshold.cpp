// Thresholds, comparisons with a constant, and one-bit images made grey.

#include "Platform/ipl/IplLoops.h"
#include "Platform/ipl/IplRows.h"

#include <vector>

using namespace ipl;

namespace {

int maxOf(const IplImage* image) {
    switch (image->depth) {
    case IPL_DEPTH_1U:
        return 1;
    case IPL_DEPTH_8U:
        return 255;
    case IPL_DEPTH_16U:
        return 65535;
    default:
        return 0x7FFFFFFF;
    }
}

int minOf(const IplImage* image) {
    return image->depth == IPL_DEPTH_32S ? static_cast<int>(0x80000000u) : 0;
}

// Writes into a one-bit, one-channel destination whether every lane of each source pixel passes.
template <class Passes>
IPLStatus compareInto(IplImage* srcImage, IplImage* dstImage, Passes passes) {
    Area area({srcImage, dstImage}, Channels::Colour, false);
    if (!area || dstImage->depth != IPL_DEPTH_1U || area[1].laneCount != 1 || bitsOf(srcImage) == 1)
        return IPL_StsBadArg;
    std::vector<int> values;
    std::vector<int> bits(static_cast<std::size_t>(area.width));
    const int lanes = area[0].laneCount;
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], j, area.width, values);
        for (int i = 0; i < area.width; ++i) {
            bool all = true;
            for (int c = 0; c < lanes; ++c)
                all = all && passes(values[static_cast<std::size_t>(i * lanes + c)]);
            bits[static_cast<std::size_t>(i)] = all ? 1 : 0;
        }
        storeRow(area[1], j, bits.data(), area.enabled(j), area.width);
    }
    return IPL_StsOk;
}

// 8-bit values into a byte-aligned one-bit row without a mask: eight comparisons packed into each byte.
void thresholdBytesToBits(Area& area, int threshold) {
    const Part& s = area[0];
    const Part& d = area[1];
    const int pe = s.pixelElements;
    const int lane = s.lanes[0];
    for (int j = 0; j < area.height; ++j) {
        const std::uint8_t* from = s.row<std::uint8_t>(j) + lane;
        auto* to = reinterpret_cast<std::uint8_t*>(d.image->imageData + (d.y + j) * d.image->widthStep) + d.x / 8;
        int i = 0;
        for (; i + 8 <= area.width; i += 8) {
            unsigned byte = 0;
            for (int k = 0; k < 8; ++k)
                byte = byte << 1 | (from[(i + k) * pe] >= threshold ? 1u : 0u);
            to[i / 8] = static_cast<std::uint8_t>(byte);
        }
        for (; i < area.width; ++i)
            setBit(d.image, d.x + i, d.y + j, from[i * pe] >= threshold);
    }
}

} // namespace

// Each value at or above the threshold becomes the destination's largest value, others its smallest. A
// one-bit destination takes one channel: the source's channel of interest or its only channel.
void iplThreshold(IplImage* srcImage, IplImage* dstImage, int threshold) {
    Area area({srcImage, dstImage}, Channels::Colour, false);
    if (!area || area[0].laneCount != area[1].laneCount || bitsOf(srcImage) == 1)
        return;
    if (dstImage->depth != IPL_DEPTH_1U && dstImage->depth != srcImage->depth)
        return;
    if (srcImage->depth == IPL_DEPTH_8U && dstImage->depth == IPL_DEPTH_1U && !area.masked() && area[1].x % 8 == 0) {
        thresholdBytesToBits(area, threshold);
        return;
    }
    const int high = maxOf(dstImage);
    const int low = minOf(dstImage);
    std::vector<int> values;
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], j, area.width, values);
        for (int& v : values)
            v = v >= threshold ? high : low;
        storeRow(area[1], j, values.data(), area.enabled(j), area.width);
    }
}

IPLStatus iplGreaterS(IplImage* srcImage, int value, IplImage* dstImage) {
    return compareInto(srcImage, dstImage, [value](int v) { return v > value; });
}

IPLStatus iplLessS(IplImage* srcImage, int value, IplImage* dstImage) {
    return compareInto(srcImage, dstImage, [value](int v) { return v < value; });
}

void iplBitonalToGray(IplImage* srcImage, IplImage* dstImage, int zeroScale, int oneScale) {
    Area area({srcImage, dstImage}, Channels::Colour, false);
    if (!area || srcImage->depth != IPL_DEPTH_1U || area[1].laneCount != 1 || bitsOf(dstImage) == 1)
        return;
    std::vector<int> values;
    for (int j = 0; j < area.height; ++j) {
        readRow(area[0], j, area.width, values);
        for (int& v : values)
            v = v != 0 ? oneScale : zeroScale;
        storeRow(area[1], j, values.data(), area.enabled(j), area.width);
    }
}
