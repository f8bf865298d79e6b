#include "Jpeg/JPEGReaderWriter.h"

#include "Imaging/GAbstractDIBImage.h"
#include "Jpeg/JpegSession.h"

#include <vector>

G_IMPLEMENT_CLASS(JPEGReaderWriter, GDIBReaderWriter)

namespace {

// CMYK samples to BGRA in place. Adobe's writers store the inks inverted (255 = no ink), which is how libjpeg
// hands them over; other writers store ink amounts.
void cmykToBgra(JSAMPROW row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, row += 4) {
        unsigned c = row[0], m = row[1], y = row[2], k = row[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        row[0] = static_cast<JSAMPLE>((y * k + 127) / 255);
        row[1] = static_cast<JSAMPLE>((m * k + 127) / 255);
        row[2] = static_cast<JSAMPLE>((c * k + 127) / 255);
        row[3] = 255;
    }
}

// The rows to decode into: the picture's own rows where it keeps them in memory, else a buffer.
class Rows {
public:
    Rows(GAbstractDIBImage& image, int width, int height) : m_image(image), m_width(width) {
        m_rows.resize(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
            m_rows[static_cast<std::size_t>(y)] = reinterpret_cast<JSAMPROW>(image.get_line_address_to_modify(y));
        if (height > 0 && m_rows[0] == nullptr) {
            m_buffer.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            for (int y = 0; y < height; ++y)
                m_rows[static_cast<std::size_t>(y)] = reinterpret_cast<JSAMPROW>(
                    m_buffer.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
        }
    }
    JSAMPARRAY at(int y) { return m_rows.data() + y; }
    void handOver() {
        if (m_buffer.empty())
            return;
        for (std::size_t y = 0; y < m_rows.size(); ++y)
            m_image.put_hline(reinterpret_cast<const DWORD*>(m_rows[y]), 0, static_cast<int>(y), m_width);
    }

private:
    GAbstractDIBImage& m_image;
    int m_width;
    std::vector<JSAMPROW> m_rows;
    std::vector<DWORD> m_buffer;
};

} // namespace

unsigned JPEGReaderWriter::can_do() const {
    return CanRead | CanWrite;
}

void JPEGReaderWriter::file_name_filter(ImageFileFilter& filter) const {
    filter = "JPEG picture (*.jpg;*.jpeg)|*.jpg;*.jpeg|";
}

bool JPEGReaderWriter::is(ipstream& stream) {
    StreamBytes bytes(stream);
    std::uint8_t start[3];
    return bytes.read(start, sizeof start) && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
}

bool JPEGReaderWriter::read_info(ipstream& stream, FileImageInfo& info) {
    StreamBytes bytes(stream);
    JpegReadSession session(bytes);
    if (!session.readHeader())
        return false;
    info.width = static_cast<int>(session.info().image_width);
    info.height = static_cast<int>(session.info().image_height);
    return true;
}

bool JPEGReaderWriter::read_image(ipstream& stream, GAbstractDIBImage& image) {
    StreamBytes bytes(stream);
    JpegReadSession session(bytes);
    if (!session.readHeader() || !session.start())
        return false;
    const auto width = static_cast<int>(session.info().output_width);
    const auto height = static_cast<int>(session.info().output_height);
    image.resize(width, height);
    if (image.get_width() != width || image.get_height() != height)
        return false;
    Rows rows(image, width, height);
    const bool inverted = session.info().saw_Adobe_marker != 0;
    constexpr int Step = 16;
    for (int y = 0; y < height; y += Step) {
        const auto count = static_cast<JDIMENSION>(std::min(Step, height - y));
        if (!session.readRows(rows.at(y), count))
            return false;
        if (session.cmyk())
            for (JDIMENSION i = 0; i < count; ++i)
                cmykToBgra(*rows.at(y + static_cast<int>(i)), static_cast<JDIMENSION>(width), inverted);
    }
    session.finish(); // what follows the last row (or its absence) does not change the picture
    rows.handOver();
    return true;
}

bool JPEGReaderWriter::write_image(opstream& stream, const GAbstractDIBImage& image) {
    const int width = image.get_width();
    const int height = image.get_height();
    if (width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION)
        return false;
    JpegWriteSession session(stream);
    if (!session.start(width, height, Quality))
        return false;
    std::vector<DWORD> copy(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        const DWORD* line = image.get_line_address(y);
        if (line == nullptr) {
            image.get_hline(copy.data(), 0, y, width);
            line = copy.data();
        }
        JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<DWORD*>(line));
        if (!session.writeRows(&row, 1))
            return false;
    }
    return session.finish();
}
