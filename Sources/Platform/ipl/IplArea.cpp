#include "ipl/IplArea.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace ipl {

namespace {

struct Rect {
    int x, y, w, h;
};

// For each mask byte, its eight bits as eight 0/1 bytes, the leftmost pixel (top bit) first in memory.
struct ExpandedBytes {
    std::uint64_t of[256] = {};

    ExpandedBytes() {
        for (unsigned v = 0; v < 256; ++v)
            for (unsigned k = 0; k < 8; ++k)
                of[v] |= static_cast<std::uint64_t>((v >> (7 - k)) & 1u) << (8 * k);
    }
};

// enabled[i] &= bit (offset + i) of the mask row, for i in [from, to): whole mask bytes eight pixels at a time.
void andMaskBits(std::uint8_t* enabled, const std::uint8_t* row, int offset, int from, int to) {
    static const ExpandedBytes expanded;
    auto bit = [&](int i) {
        const int x = offset + i;
        return static_cast<std::uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
    };
    int i = from;
    for (; i < to && ((offset + i) & 7) != 0; ++i)
        enabled[i] &= bit(i);
    for (; i + 8 <= to; i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, enabled + i, 8);
        eight &= expanded.of[row[(offset + i) >> 3]];
        std::memcpy(enabled + i, &eight, 8);
    }
    for (; i < to; ++i)
        enabled[i] &= bit(i);
}

// The image's region of interest clipped to the image.
Rect regionOf(const IplImage* image) {
    if (image->roi == nullptr)
        return {0, 0, image->width, image->height};
    const int x = std::clamp(image->roi->xOffset, 0, image->width);
    const int y = std::clamp(image->roi->yOffset, 0, image->height);
    return {x, y, std::clamp(image->roi->width, 0, image->width - x),
            std::clamp(image->roi->height, 0, image->height - y)};
}

// The depths the library works on; any other makes an operation do nothing.
bool knownDepth(int depth) {
    switch (depth) {
    case IPL_DEPTH_1U:
    case IPL_DEPTH_8U:
    case IPL_DEPTH_8S:
    case IPL_DEPTH_16U:
    case IPL_DEPTH_16S:
    case IPL_DEPTH_32S:
    case IPL_DEPTH_32F:
        return true;
    default:
        return false;
    }
}

bool setLanes(Part& part, Channels channels) {
    const IplImage* image = part.image;
    part.pixelElements = bitsOf(image) == 1 ? 1 : image->nChannels;
    const int coi = image->roi != nullptr ? image->roi->coi : 0;
    if (coi > 0) {
        if (coi > part.pixelElements)
            return false;
        part.lanes[0] = coi - 1;
        part.laneCount = 1;
        part.allLanes = part.pixelElements == 1;
        return true;
    }
    const int alpha = channels == Channels::Colour ? image->alphaChannel : 0;
    for (int c = 0; c < part.pixelElements && c < 4; ++c)
        if (c + 1 != alpha)
            part.lanes[part.laneCount++] = c;
    part.allLanes = part.laneCount == part.pixelElements;
    return part.laneCount > 0;
}

} // namespace

Area::Area(const std::vector<IplImage*>& images, Channels channels, bool sameLanes) {
    width = height = 1 << 30;
    for (IplImage* image : images) {
        if (image == nullptr || image->imageData == nullptr || image->dataOrder != IPL_DATA_ORDER_PIXEL ||
            image->nChannels < 1 || image->nChannels > 4 || !knownDepth(image->depth)) {
            m_valid = false;
            return;
        }
        const Rect r = regionOf(image);
        Part part;
        part.image = image;
        part.x = r.x;
        part.y = r.y;
        if (!setLanes(part, channels)) {
            m_valid = false;
            return;
        }
        if (image->maskROI != nullptr && image->maskROI->imageData != nullptr) {
            part.mask = image->maskROI;
            part.maskX = part.mask->roi != nullptr ? part.mask->roi->xOffset : 0;
            part.maskY = part.mask->roi != nullptr ? part.mask->roi->yOffset : 0;
            m_masked = true;
        }
        width = std::min(width, r.w);
        height = std::min(height, r.h);
        m_contiguous = m_contiguous && part.allLanes && part.mask == nullptr;
        m_parts.push_back(part);
    }
    const int lanes = m_parts.empty() ? 0 : m_parts.front().laneCount;
    for (const Part& part : m_parts)
        m_valid = m_valid && (!sameLanes || part.laneCount == lanes);
    if (m_masked)
        m_enabled.resize(static_cast<std::size_t>(std::max(width, 0)));
}

const std::uint8_t* Area::enabled(int j) {
    if (!m_masked)
        return nullptr;
    std::fill(m_enabled.begin(), m_enabled.end(), 1);
    for (const Part& part : m_parts) {
        if (part.mask == nullptr)
            continue;
        // Pixels beyond the mask's edges take no part (in 64 bits: a mask's offset may be anywhere).
        const long long my = static_cast<long long>(part.maskY) + j;
        const int from = static_cast<int>(std::clamp(-static_cast<long long>(part.maskX), 0LL, 0LL + width));
        const int to = static_cast<int>(
            std::clamp(static_cast<long long>(part.mask->width) - part.maskX, 0LL + from, 0LL + width));
        if (my < 0 || my >= part.mask->height) {
            std::fill(m_enabled.begin(), m_enabled.end(), 0);
            continue;
        }
        std::fill(m_enabled.begin(), m_enabled.begin() + from, 0);
        std::fill(m_enabled.begin() + to, m_enabled.end(), 0);
        const auto* row = reinterpret_cast<const std::uint8_t*>(part.mask->imageData + my * part.mask->widthStep);
        andMaskBits(m_enabled.data(), row, part.maskX, from, to);
    }
    return m_enabled.data();
}

void Area::snapshot(std::size_t i, int margin) {
    Part& part = m_parts[i];
    const IplImage* image = part.image;
    const int first = std::max(part.y - margin, 0);
    const int last = std::min(part.y + height + margin, image->height);
    const std::size_t step = static_cast<std::size_t>(image->widthStep);
    m_snapshotData.assign(image->imageData + first * step, image->imageData + last * step);
    m_snapshotHeader = *image;
    m_snapshotHeader.imageData = m_snapshotHeader.imageDataOrigin = m_snapshotData.data();
    m_snapshotHeader.height = last - first;
    m_snapshotHeader.roi = nullptr;
    m_snapshotHeader.maskROI = nullptr;
    part.image = &m_snapshotHeader;
    part.y -= first;
}

bool Area::overlapping(std::size_t a, std::size_t b) const {
    const IplImage* first = m_parts[a].image;
    const IplImage* second = m_parts[b].image;
    const char* firstEnd = first->imageData + static_cast<long>(first->widthStep) * first->height;
    const char* secondEnd = second->imageData + static_cast<long>(second->widthStep) * second->height;
    return first->imageData < secondEnd && second->imageData < firstEnd;
}

bool sameDepth(const Area& area) {
    for (std::size_t i = 1; i < area.size(); ++i)
        if (area[i].image->depth != area[0].image->depth)
            return false;
    return true;
}

} // namespace ipl
