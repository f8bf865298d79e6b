// Image headers: creation, pixel memory, borders and single pixels.

#include "ipl/IplArea.h"
#include "ipl/ipl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace {

void copyName(char (&target)[4], const char* source) {
    std::memset(target, 0, sizeof target);
    if (source != nullptr)
        std::memcpy(target, source, std::min<std::size_t>(std::strlen(source), sizeof target));
}

// Bytes per row: the row's bits rounded up to bytes, then to the alignment; beyond 64 bits, the largest value.
long long rowBytes(int width, int channels, int depth, int align) {
    long long bits = 0;
    if (__builtin_mul_overflow(static_cast<long long>(width) * channels, depth & IPL_DEPTH_MASK, &bits))
        return std::numeric_limits<long long>::max();
    const long long bytes = bits / 8 + (bits % 8 != 0);
    return (bytes + align - 1) / align * align;
}

} // namespace

IplImage* iplCreateImageHeader(int nChannels, int alphaChannel, int depth, const char* colorModel,
                               const char* channelSeq, int dataOrder, int origin, int align, int width, int height,
                               IplROI* roi, IplImage* maskROI, void* imageId, IplTileInfo* tileInfo) {
    if (nChannels < 1 || width < 0 || height < 0 || (align != 4 && align != 8 && align != 16 && align != 32))
        return nullptr;
    const long long step = rowBytes(width, nChannels, depth, align);
    if (step > 0x7FFFFFFF || step * height > 0x7FFFFFFF)
        return nullptr;
    auto* image = new (std::nothrow) IplImage{};
    if (image == nullptr)
        return nullptr;
    image->nSize = sizeof(IplImage);
    image->nChannels = nChannels;
    image->alphaChannel = alphaChannel;
    image->depth = depth;
    copyName(image->colorModel, colorModel);
    copyName(image->channelSeq, channelSeq);
    image->dataOrder = dataOrder;
    image->origin = origin;
    image->align = align;
    image->width = width;
    image->height = height;
    image->roi = roi;
    image->maskROI = maskROI;
    image->imageId = imageId;
    image->tileInfo = tileInfo;
    image->widthStep = static_cast<int>(step);
    image->imageSize = static_cast<int>(step * height);
    return image;
}

// The pixels are allocated aligned to the row alignment and zeroed unless a fill value is asked for, so their
// content never depends on what the heap held.
void iplAllocateImage(IplImage* image, int doFill, int fillValue) {
    if (image == nullptr || image->imageData != nullptr)
        return;
    const std::size_t size = static_cast<std::size_t>(std::max(image->imageSize, 1));
    const std::size_t align = static_cast<std::size_t>(std::max(image->align, 8));
    void* block = std::aligned_alloc(align, (size + align - 1) / align * align);
    if (block == nullptr)
        return;
    std::memset(block, 0, size);
    image->imageData = image->imageDataOrigin = static_cast<char*>(block);
    if (doFill != 0) {
        IplROI* roi = std::exchange(image->roi, nullptr);
        IplImage* mask = std::exchange(image->maskROI, nullptr);
        const int alpha = std::exchange(image->alphaChannel, 0);
        iplSet(image, fillValue);
        image->roi = roi;
        image->maskROI = mask;
        image->alphaChannel = alpha;
    }
}

// Only what the flag names is released; the region-of-interest record and the mask belong to others here and
// are never freed.
void iplDeallocate(IplImage* image, int flag) {
    if (image == nullptr)
        return;
    if ((flag & IPL_IMAGE_DATA) != 0 && image->imageDataOrigin != nullptr) {
        std::free(image->imageDataOrigin);
        image->imageData = image->imageDataOrigin = nullptr;
    }
    if ((flag & IPL_IMAGE_HEADER) != 0)
        delete image;
}

void iplSetBorderMode(IplImage* image, int mode, int border, int constVal) {
    if (image == nullptr)
        return;
    for (int side = 0; side < 4; ++side) {
        if ((border & (1 << side)) != 0) {
            image->BorderMode[side] = mode;
            image->BorderConst[side] = constVal;
        }
    }
}

// One value per channel, of the channel's type; a one-bit pixel is set when its byte is non-zero. Region of
// interest and mask are ignored; a point outside the image changes nothing.
void iplPutPixel(IplImage* image, int x, int y, void* pixel) {
    if (image == nullptr || image->imageData == nullptr || pixel == nullptr || x < 0 || y < 0 || x >= image->width ||
        y >= image->height)
        return;
    const int bits = ipl::bitsOf(image);
    if (bits == 1) {
        ipl::setBit(image, x, y, *static_cast<const std::uint8_t*>(pixel) != 0);
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(image->nChannels * bits / 8);
    std::memcpy(image->imageData + y * image->widthStep + x * static_cast<long>(bytes), pixel, bytes);
}
