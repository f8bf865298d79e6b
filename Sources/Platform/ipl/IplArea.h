#pragma once
// The area one IPL operation covers: the overlap of its images' regions of interest, aligned at their top-left
// corners, with the channels each image takes part with and the masks that restrict the pixels.

#include "ipl/ipl.h"

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

// A loop the compiler vectorises can get an AVX2 copy beside the x86-64 baseline one: its one body is written as
// an IPL_LOOP_BODY function, which both copies inline, the AVX2 copy marked IPL_AVX2. The caller picks the copy by
// ipl::hasAvx2(), an ordinary test at run time: choices the loader makes (target_clones, ifunc) run before the
// sanitizers start and crash under ThreadSanitizer.
#define IPL_LOOP_BODY inline __attribute__((always_inline))
#define IPL_AVX2 __attribute__((target("avx2")))

namespace ipl {

// Whether the processor runs AVX2 instructions (asked once).
inline bool hasAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// Bits of one-bit images: the leftmost pixel is the high bit of its byte.
inline bool bitAt(const IplImage* image, int x, int y) {
    const auto* row = reinterpret_cast<const std::uint8_t*>(image->imageData + y * image->widthStep);
    return (row[x >> 3] & (0x80 >> (x & 7))) != 0;
}

inline void setBit(IplImage* image, int x, int y, bool on) {
    auto* byte = reinterpret_cast<std::uint8_t*>(image->imageData + y * image->widthStep) + (x >> 3);
    const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
    *byte = on ? (*byte | bit) : (*byte & ~bit);
}

inline int bitsOf(const IplImage* image) {
    return image->depth & IPL_DEPTH_MASK;
}

// One image's part in an operation.
struct Part {
    IplImage* image = nullptr;
    int x = 0; // top-left of the area in the image
    int y = 0;
    int pixelElements = 0; // channel values per pixel
    int lanes[4] = {};     // the channels that take part, as element offsets in the pixel
    int laneCount = 0;
    bool allLanes = false; // every channel takes part
    const IplImage* mask = nullptr;
    int maskX = 0;
    int maskY = 0;

    template <class T>
    T* row(int j) const {
        return reinterpret_cast<T*>(image->imageData + (y + j) * image->widthStep) + x * pixelElements;
    }
};

// How the channels of an image take part.
enum class Channels {
    Colour, // the channel of interest, or every channel but a declared alpha channel
    All,    // the channel of interest, or every channel
};

class Area {
public:
    // Null images make the area invalid. Images of one-bit depth take part as single channels. Unless told
    // otherwise, every image must take part with the same number of channels.
    Area(std::initializer_list<IplImage*> images, Channels channels = Channels::Colour, bool sameLanes = true)
        : Area(std::vector<IplImage*>(images), channels, sameLanes) {}
    Area(const std::vector<IplImage*>& images, Channels channels, bool sameLanes);

    // False for an invalid combination or an empty overlap: the operation then does nothing.
    explicit operator bool() const { return m_valid && width > 0 && height > 0; }
    Part& operator[](std::size_t i) { return m_parts[i]; }
    const Part& operator[](std::size_t i) const { return m_parts[i]; }
    std::size_t size() const { return m_parts.size(); }
    // Every part takes all channels of its pixels and no mask applies: rows are plain runs of values.
    bool contiguous() const { return m_contiguous; }
    bool masked() const { return m_masked; }
    // 1 for each pixel of row j that every mask lets take part; null when no mask applies.
    const std::uint8_t* enabled(int j);
    // The images share pixel memory (an operation in place, or two views of one buffer).
    bool overlapping(std::size_t a, std::size_t b) const;
    // Makes part i read from a private copy of its rows, so that writing another part cannot change what it
    // reads (operations in place that read neighbours or another place of the same pixels). `margin` extra
    // rows above and below are kept where the image has them.
    void snapshot(std::size_t i, int margin = 0);

    int width = 0;
    int height = 0;

private:
    bool m_valid = true;
    bool m_contiguous = true;
    bool m_masked = false;
    std::vector<Part> m_parts;
    std::vector<std::uint8_t> m_enabled;
    std::vector<char> m_snapshotData;
    IplImage m_snapshotHeader{};
};

// All parts have the same depth.
bool sameDepth(const Area& area);

// Values in the range of a depth.
template <class T>
inline T saturate(long long v) {
    constexpr long long lo = static_cast<long long>(std::numeric_limits<T>::min());
    constexpr long long hi = static_cast<long long>(std::numeric_limits<T>::max());
    return static_cast<T>(v < lo ? lo : v > hi ? hi : v);
}

// Rounds a non-negative quotient half up.
inline long long divRound(long long n, long long d) {
    return (n + d / 2) / d;
}

} // namespace ipl
