#include "Bmp/BmpPixels.h"

#include "TargetRows.h"

#include <algorithm>
#include <bit>

namespace {

constexpr DWORD OpaqueBlack = 0xFF000000;

DWORD paletteColour(const std::vector<DWORD>& palette, unsigned index) {
    return index < palette.size() ? palette[index] : OpaqueBlack;
}

void indexedRow(const BmpHeader& h, const std::uint8_t* in, DWORD* out) {
    const int bits = h.bitCount;
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < h.width; ++x) {
        const unsigned bit = static_cast<unsigned>(x) * static_cast<unsigned>(bits);
        const unsigned index = (in[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
        out[x] = paletteColour(h.palette, index);
    }
}

void trueColourRow(const std::uint8_t* in, DWORD* out, int width) {
    for (int x = 0; x < width; ++x, in += 3)
        out[x] = OpaqueBlack | static_cast<DWORD>(in[2]) << 16 | static_cast<DWORD>(in[1]) << 8 | in[0];
}

bool standardMasks(const BmpHeader& h) {
    return h.bitCount == 32 && h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF &&
           (h.masks[3] == 0 || h.masks[3] == 0xFF000000);
}

void standardRow(const std::uint8_t* in, DWORD* out, int width, bool alpha) {
    const DWORD opaque = alpha ? 0 : OpaqueBlack;
    for (int x = 0; x < width; ++x)
        out[x] = le32(in + 4 * x) | opaque;
}

void bitFieldRow(const BmpHeader& h, const BmpChannel (&channels)[4], const std::uint8_t* in, DWORD* out) {
    const int bytes = h.bitCount / 8;
    for (int x = 0; x < h.width; ++x, in += bytes) {
        const std::uint32_t pixel = bytes == 2 ? le16(in) : le32(in);
        out[x] = channels[3](pixel, 255) << 24 | channels[0](pixel, 0) << 16 | channels[1](pixel, 0) << 8 |
                 channels[2](pixel, 0);
    }
}

} // namespace

BmpChannel::BmpChannel(std::uint32_t m) : mask(m), shift(m != 0 ? std::countr_zero(m) : 0), largest(m >> shift) {}

BmpRowDecoder::BmpRowDecoder(const BmpHeader& h, GAbstractDIBImage& image)
    : m_header(h), m_image(image), m_channels{BmpChannel(h.masks[0]), BmpChannel(h.masks[1]), BmpChannel(h.masks[2]),
                                              BmpChannel(h.masks[3])},
      m_standard(standardMasks(h)) {}

void BmpRowDecoder::decode(int fileRow, const std::uint8_t* in) {
    const BmpHeader& h = m_header;
    const int y = h.topDown ? fileRow : h.height - 1 - fileRow;
    DWORD* out = m_image.get_line_address_to_modify(y);
    if (out == nullptr) {
        m_buffer.resize(static_cast<std::size_t>(h.width));
        out = m_buffer.data();
    }
    if (h.bitCount <= 8)
        indexedRow(h, in, out);
    else if (h.bitCount == 24)
        trueColourRow(in, out, h.width);
    else if (m_standard)
        standardRow(in, out, h.width, h.masks[3] != 0);
    else
        bitFieldRow(h, m_channels, in, out);
    if (out == m_buffer.data())
        m_image.put_hline(out, 0, y, h.width);
}

void decodeBmpRows(const BmpHeader& h, const std::vector<std::uint8_t>& data, GAbstractDIBImage& image) {
    BmpRowDecoder decoder(h, image);
    const auto rowBytes = static_cast<std::size_t>(h.rowBytes());
    for (int r = 0; r < h.height; ++r)
        decoder.decode(r, data.data() + static_cast<std::size_t>(r) * rowBytes);
}

namespace {

// Walks RLE codes, handing each pixel they set inside the picture to `put(fileRow, x, index)`.
class RleWalker {
public:
    RleWalker(const BmpHeader& h, const std::vector<std::uint8_t>& data) : m_h(h), m_data(data) {}

    template <class Put>
    BmpRleExtent run(Put&& put) {
        BmpRleExtent extent;
        bool ended = false;
        while (!ended && m_row < m_h.height && m_at + 2 <= m_data.size()) {
            const unsigned count = m_data[m_at];
            const unsigned value = m_data[m_at + 1];
            m_at += 2;
            if (count > 0)
                extent.setPixels += repeat(count, value, put);
            else
                ended = escape(value, extent, put);
        }
        extent.cutShort = !ended && m_row < m_h.height;
        return extent;
    }

private:
    bool fourBits() const { return m_h.compression == BmpRLE4; }
    unsigned nibbleOrByte(unsigned i, unsigned value) const {
        return fourBits() ? (i % 2 == 0 ? value >> 4 : value & 15) : value;
    }
    // The pixels left in the row from the current one, up to `count`.
    unsigned inRow(unsigned count) const {
        return m_x < m_h.width ? std::min(count, static_cast<unsigned>(m_h.width - m_x)) : 0;
    }

    // RLE4 alternates the two nibbles of `value`. Runs past the end of the row are cut there.
    template <class Put>
    unsigned repeat(unsigned count, unsigned value, Put& put) {
        const unsigned n = inRow(count);
        for (unsigned i = 0; i < n; ++i)
            put(m_row, m_x + static_cast<int>(i), nibbleOrByte(i, value));
        m_x += static_cast<int>(n);
        return n;
    }

    // 0 ends the row, 1 the picture, 2 moves by a delta; 3 and more start an absolute run. True when the codes
    // end the picture (the end code, a delta leaving it).
    template <class Put>
    bool escape(unsigned code, BmpRleExtent& extent, Put& put) {
        if (code == 0) {
            m_x = 0;
            ++m_row;
            return false;
        }
        if (code == 1)
            return true;
        if (code == 2) {
            if (m_at + 2 > m_data.size()) {
                m_at = m_data.size();
                return false;
            }
            m_x = std::min(m_x + m_data[m_at], m_h.width); // every place past the row is the same
            m_row += m_data[m_at + 1];
            m_at += 2;
            return m_row >= m_h.height;
        }
        const std::size_t bytes = fourBits() ? (code + 1) / 2 : code;
        const std::size_t padded = (bytes + 1) & ~std::size_t{1};
        if (m_at + bytes > m_data.size()) {
            m_at = m_data.size();
            return false;
        }
        const unsigned n = inRow(code);
        for (unsigned i = 0; i < n; ++i)
            put(m_row, m_x + static_cast<int>(i), nibbleOrByte(i, m_data[m_at + (fourBits() ? i / 2 : i)]));
        m_x += static_cast<int>(n);
        extent.setPixels += n;
        m_at = std::min(m_at + padded, m_data.size());
        return false;
    }

    const BmpHeader& m_h;
    const std::vector<std::uint8_t>& m_data;
    std::size_t m_at = 0;
    int m_x = 0;
    int m_row = 0; // file row: the bottom one first unless top down
};

} // namespace

BmpRleExtent measureBmpRle(const BmpHeader& header, const std::vector<std::uint8_t>& data) {
    return RleWalker(header, data).run([](int, int, unsigned) {});
}

void decodeBmpRle(const BmpHeader& h, const std::vector<std::uint8_t>& data, GAbstractDIBImage& image) {
    TargetRows target(image);
    const DWORD unset = paletteColour(h.palette, 0);
    for (int y = 0; y < h.height; ++y)
        std::fill_n(reinterpret_cast<DWORD*>(target.rows()[y]), h.width, unset);
    RleWalker(h, data).run([&](int fileRow, int x, unsigned index) {
        reinterpret_cast<DWORD*>(target.rows()[h.topDown ? fileRow : h.height - 1 - fileRow])[x] =
            paletteColour(h.palette, index);
    });
    target.handOver();
}
