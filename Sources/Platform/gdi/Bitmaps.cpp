#include "gdi/GdiObjects.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

namespace {

DWORD colourOf(const RGBQUAD& q) {
    return DWORD{q.rgbRed} << 16 | DWORD{q.rgbGreen} << 8 | q.rgbBlue;
}

long squaredDistance(DWORD a, DWORD b) {
    long sum = 0;
    for (int shift : {0, 8, 16}) {
        const long d = static_cast<long>((a >> shift) & 0xFF) - static_cast<long>((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

} // namespace

DWORD GdiBitmap::rawAt(int x, int y) const {
    const BYTE* r = row(y);
    switch (bitCount) {
    case 1:
        return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 8:
        return r[x];
    case 24:
        return DWORD{r[3 * x + 2]} << 16 | DWORD{r[3 * x + 1]} << 8 | r[3 * x];
    default: {
        DWORD value;
        std::memcpy(&value, r + 4 * x, 4);
        return value;
    }
    }
}

void GdiBitmap::setRaw(int x, int y, DWORD value) {
    BYTE* r = row(y);
    switch (bitCount) {
    case 1: {
        const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
        r[x >> 3] = (value & 1) != 0 ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit);
        break;
    }
    case 8:
        r[x] = static_cast<BYTE>(value);
        break;
    case 24:
        r[3 * x] = static_cast<BYTE>(value);
        r[3 * x + 1] = static_cast<BYTE>(value >> 8);
        r[3 * x + 2] = static_cast<BYTE>(value >> 16);
        break;
    default:
        std::memcpy(r + 4 * x, &value, 4);
        break;
    }
}

DWORD GdiBitmap::colourAt(int x, int y) const {
    const DWORD raw = rawAt(x, y);
    if (bitCount > 8)
        return raw & 0xFFFFFF;
    return raw < palette.size() ? colourOf(palette[raw]) : 0;
}

// The nearest table entry by squared distance; ties go to the lowest index.
DWORD GdiBitmap::rawFor(DWORD colour) const {
    if (bitCount > 8)
        return colour;
    DWORD best = 0;
    long bestDistance = LONG_MAX;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long d = squaredDistance(colourOf(palette[i]), colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<DWORD>(i);
        }
    }
    return best;
}

namespace {

// Zeroed pixel memory, as a DIB section's is. Large bitmaps sit on huge pages where the system offers them, so that
// writing them first costs a few page faults instead of one per 4 KB.
BYTE* allocatePixels(std::size_t size) {
    constexpr std::size_t HugePage = std::size_t{2} << 20;
    if (size < 2 * HugePage)
        return static_cast<BYTE*>(std::calloc(size, 1));
    void* pixels = nullptr;
    if (posix_memalign(&pixels, HugePage, size) != 0)
        return nullptr;
    madvise(pixels, size & ~(HugePage - 1), MADV_HUGEPAGE);
    std::memset(pixels, 0, size);
    return static_cast<BYTE*>(pixels);
}

} // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr)
        return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const int bitCount = header.biBitCount;
    const long long width = header.biWidth;
    const long long height = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (header.biCompression != BI_RGB || width < 1 || height < 1 ||
        (bitCount != 1 && bitCount != 8 && bitCount != 24 && bitCount != 32))
        return nullptr;
    const long long stride = (width * bitCount + 31) / 32 * 4;
    if (stride * height > INT_MAX)
        return nullptr;
    auto bitmap = std::make_unique<GdiBitmap>();
    bitmap->width = static_cast<int>(width);
    bitmap->height = static_cast<int>(height);
    bitmap->bitCount = bitCount;
    bitmap->stride = static_cast<int>(stride);
    bitmap->topDown = header.biHeight < 0;
    if (bitCount <= 8) {
        const std::size_t entries = header.biClrUsed != 0 ? std::min<std::size_t>(header.biClrUsed, 1u << bitCount)
                                                          : std::size_t{1} << bitCount;
        bitmap->palette.assign(info->bmiColors, info->bmiColors + entries);
    }
    bitmap->pixels.reset(allocatePixels(static_cast<std::size_t>(stride * height)));
    if (bitmap->pixels == nullptr)
        return nullptr;
    if (bits != nullptr)
        *bits = bitmap->pixels.get();
    return bitmap.release();
}
