#pragma once
// Images for the IPL tests: owned headers with pixels, and access to values by pixel and channel.

#include "ipl/IplArea.h"
#include "ipl/ipl.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class TestImage {
public:
    TestImage(int width, int height, int channels = 1, int depth = IPL_DEPTH_8U)
        : m_image(iplCreateImageHeader(channels, 0, depth, "GRAY", "G", IPL_DATA_ORDER_PIXEL, IPL_ORIGIN_TL,
                                       IPL_ALIGN_DWORD, width, height, nullptr, nullptr, nullptr, nullptr)) {
        iplAllocateImage(m_image, 0, 0);
    }
    ~TestImage() { iplDeallocate(m_image, IPL_IMAGE_HEADER | IPL_IMAGE_DATA); }
    TestImage(const TestImage&) = delete;
    TestImage& operator=(const TestImage&) = delete;

    IplImage* operator->() const { return m_image; }
    operator IplImage*() const { return m_image; }

    int get(int x, int y, int c = 0) const {
        if (ipl::bitsOf(m_image) == 1)
            return ipl::bitAt(m_image, x, y) ? 1 : 0;
        const char* row = m_image->imageData + y * m_image->widthStep;
        const int index = x * m_image->nChannels + c;
        switch (ipl::bitsOf(m_image)) {
        case 8:
            return reinterpret_cast<const std::uint8_t*>(row)[index];
        case 16:
            return reinterpret_cast<const std::uint16_t*>(row)[index];
        default:
            return reinterpret_cast<const std::int32_t*>(row)[index];
        }
    }

    void set(int x, int y, int c, int v) {
        if (ipl::bitsOf(m_image) == 1) {
            ipl::setBit(m_image, x, y, v != 0);
            return;
        }
        char* row = m_image->imageData + y * m_image->widthStep;
        const int index = x * m_image->nChannels + c;
        switch (ipl::bitsOf(m_image)) {
        case 8:
            reinterpret_cast<std::uint8_t*>(row)[index] = static_cast<std::uint8_t>(v);
            break;
        case 16:
            reinterpret_cast<std::uint16_t*>(row)[index] = static_cast<std::uint16_t>(v);
            break;
        default:
            reinterpret_cast<std::int32_t*>(row)[index] = v;
            break;
        }
    }

    // Row y of channel c.
    std::vector<int> row(int y, int c = 0) const {
        std::vector<int> values;
        for (int x = 0; x < m_image->width; ++x)
            values.push_back(get(x, y, c));
        return values;
    }

    // Sets every value of channel c row by row from `values` (width x height of them).
    void fill(std::initializer_list<int> values, int c = 0) {
        int k = 0;
        for (int v : values) {
            set(k % m_image->width, k / m_image->width, c, v);
            ++k;
        }
    }

private:
    IplImage* m_image;
};

// A region of interest record that the image points at while the object lives.
class TestROI {
public:
    TestROI(IplImage* image, int x, int y, int w, int h, int coi = 0) : m_image(image), m_roi{coi, x, y, w, h} {
        m_image->roi = &m_roi;
    }
    ~TestROI() { m_image->roi = nullptr; }

private:
    IplImage* m_image;
    IplROI m_roi;
};
