#include "Jpeg/JPEGReaderWriter.h"

#include "Imaging/GAbstractDIBImage.h"
#include "Jpeg/JpegSession.h"
#include "Streams/ipstream.h"
#include "TargetRows.h"

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
    if (!session.readHeader())
        return false;
    const long long remaining = bytes.remaining();
    const unsigned long long ahead = remaining > 0 ? static_cast<unsigned long long>(remaining) : 0;
    const auto& header = session.info();
    stream.claimDecodedPixels(static_cast<unsigned long long>(header.image_width) * header.image_height, ahead);
    if (!session.start(bytes.consumed() + ahead))
        return false;
    const auto width = static_cast<int>(session.info().output_width);
    const auto height = static_cast<int>(session.info().output_height);
    image.resize(width, height);
    if (image.get_width() != width || image.get_height() != height)
        return false;
    TargetRows rows(image);
    const bool inverted = session.info().saw_Adobe_marker != 0;
    constexpr int Step = 16;
    for (int y = 0; y < height; y += Step) {
        const auto count = static_cast<JDIMENSION>(std::min(Step, height - y));
        if (!session.readRows(rows.rows() + y, count))
            return false;
        if (session.cmyk())
            for (JDIMENSION i = 0; i < count; ++i)
                cmykToBgra(rows.rows()[y + static_cast<int>(i)], static_cast<JDIMENSION>(width), inverted);
    }
    if (session.cutShort())
        stream.noteCutShortPicture();
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
