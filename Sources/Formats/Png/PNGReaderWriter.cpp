#include "Png/PNGReaderWriter.h"

#include "Imaging/GAbstractDIBImage.h"
#include "StreamBytes.h"
#include "Streams/StreamFormat.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"
#include "TargetRows.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

G_IMPLEMENT_CLASS(PNGReaderWriter, GDIBReaderWriter)

namespace {

constexpr std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// libpng reports errors by a long jump back into the function that set it up; nothing there may own memory
// that the jump would leave behind, so the rows and the image live with the caller.
struct PngSource {
    StreamBytes& bytes;
    bool ended = false; // the data ran out
};

void readFromStream(png_structp png, png_bytep data, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (!source->bytes.read(data, length)) {
        source->ended = true;
        png_error(png, "the file ends early");
    }
}

void writeToStream(png_structp png, png_bytep data, png_size_t length) {
    static_cast<opstream*>(png_get_io_ptr(png))->writeBytes(data, length);
}

void flushStream(png_structp) {}

void ignoreWarning(png_structp, png_const_charp) {}

// The reader's state, shared with the jumps.
struct PngRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    PngSource source;
    bool rowsRead = false; // every row was decoded (what follows them may still be missing)

    explicit PngRead(StreamBytes& bytes) : source{bytes} {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
        info = png != nullptr ? png_create_info_struct(png) : nullptr;
        if (info != nullptr) {
            png_set_read_fn(png, &source, readFromStream);
            // Sizes past the picture limit are refused before anything is made for them.
            png_set_user_limits(png, StreamFormat::LargestImageSide * 16, StreamFormat::LargestImageSide * 16);
            png_set_chunk_malloc_max(png, 64u << 20);
        }
    }
    ~PngRead() { png_destroy_read_struct(&png, &info, nullptr); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;
    bool ready() const { return info != nullptr; }
};

// The header, with the transforms that turn any PNG into 8-bit BGRA rows.
bool readHeader(PngRead& r) {
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_read_info(r.png, r.info);
    r.width = png_get_image_width(r.png, r.info);
    r.height = png_get_image_height(r.png, r.info);
    if (static_cast<unsigned long long>(r.width) * r.height > StreamFormat::MaxImagePixels)
        return false;
    const int type = png_get_color_type(r.png, r.info);
    png_set_expand(r.png); // palettes and grey below 8 bits to 8 bits, transparency to alpha
    png_set_scale_16(r.png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
    png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER); // opaque where the file has no alpha
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    return png_get_rowbytes(r.png, r.info) == static_cast<png_size_t>(r.width) * 4;
}

// False for damaged data; data that ends early leaves the rows decoded so far (and `source.ended` set).
bool readRows(PngRead& r, png_bytep* rows) {
    if (setjmp(png_jmpbuf(r.png)))
        return r.source.ended;
    png_read_image(r.png, rows);
    r.rowsRead = true;
    png_read_end(r.png, nullptr);
    return true;
}

struct PngWrite {
    png_structp png = nullptr;
    png_infop info = nullptr;

    explicit PngWrite(opstream& stream) {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
        info = png != nullptr ? png_create_info_struct(png) : nullptr;
        if (info != nullptr)
            png_set_write_fn(png, &stream, writeToStream, flushStream);
    }
    ~PngWrite() { png_destroy_write_struct(&png, &info); }
    PngWrite(const PngWrite&) = delete;
    PngWrite& operator=(const PngWrite&) = delete;
};

bool writeRows(PngWrite& w, int width, int height, png_bytep* rows) {
    if (setjmp(png_jmpbuf(w.png)))
        return false;
    png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(w.png, 6);
    png_write_info(w.png, w.info);
    png_set_bgr(w.png);
    png_write_image(w.png, rows);
    png_write_end(w.png, nullptr);
    return true;
}

} // namespace

unsigned PNGReaderWriter::can_do() const {
    return CanRead | CanWrite;
}

void PNGReaderWriter::file_name_filter(ImageFileFilter& filter) const {
    filter = "Portable Network Graphics (*.png)|*.png|";
}

bool PNGReaderWriter::is(ipstream& stream) {
    StreamBytes bytes(stream);
    std::uint8_t start[8];
    return bytes.read(start, sizeof start) && std::memcmp(start, Signature, sizeof start) == 0;
}

bool PNGReaderWriter::read_info(ipstream& stream, FileImageInfo& info) {
    StreamBytes bytes(stream);
    PngRead read(bytes);
    if (!read.ready() || !readHeader(read))
        return false;
    info.width = static_cast<int>(read.width);
    info.height = static_cast<int>(read.height);
    return true;
}

bool PNGReaderWriter::read_image(ipstream& stream, GAbstractDIBImage& image) {
    StreamBytes bytes(stream);
    PngRead read(bytes);
    if (!read.ready() || !readHeader(read))
        return false;
    const int width = static_cast<int>(read.width);
    const int height = static_cast<int>(read.height);
    const long long remaining = bytes.remaining();
    stream.claimDecodedPixels(static_cast<unsigned long long>(read.width) * read.height,
                              remaining > 0 ? static_cast<unsigned long long>(remaining) : 0);
    image.resize(width, height);
    if (image.get_width() != width || image.get_height() != height)
        return false;
    TargetRows rows(image);
    if (!readRows(read, rows.rows()))
        return false;
    if (!read.rowsRead)
        stream.noteCutShortPicture();
    rows.handOver();
    return true;
}

bool PNGReaderWriter::write_image(opstream& stream, const GAbstractDIBImage& image) {
    const int width = image.get_width();
    const int height = image.get_height();
    if (width <= 0 || height <= 0)
        return false;
    std::vector<DWORD> copies;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<std::size_t>(y)] = reinterpret_cast<png_bytep>(const_cast<DWORD*>(image.get_line_address(y)));
    if (rows[0] == nullptr) {
        copies.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            DWORD* row = copies.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
            image.get_hline(row, 0, y, width);
            rows[static_cast<std::size_t>(y)] = reinterpret_cast<png_bytep>(row);
        }
    }
    PngWrite write(stream);
    return write.info != nullptr && writeRows(write, width, height, rows.data());
}
