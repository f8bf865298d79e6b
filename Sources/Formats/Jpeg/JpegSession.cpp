#include "Jpeg/JpegSession.h"

#include "Streams/StreamFormat.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::size_t BufferSize = 16384;
// Real progressive files hold 6 to 10 scans (optimisers write a few dozen); every scan passes over the whole
// picture's coefficients, so many tiny scans would make a few bytes cost minutes.
constexpr int MaxScans = 100;

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

void setUpErrors(JpegError& error) {
    jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpBack;
    error.manager.output_message = ignoreMessage;
}

} // namespace

// Reads from the stream in pieces; at the end of the data it offers an end-of-image marker, as libjpeg's own
// sources do, so a cut file gives what it holds.
struct JpegReadSession::Source {
    jpeg_source_mgr manager;
    StreamBytes* bytes;
    bool ended = false; // the data ran out and an end-of-image marker was offered in its place
    JOCTET buffer[BufferSize];

    static void init(j_decompress_ptr) {}
    static boolean fill(j_decompress_ptr info) {
        auto* source = reinterpret_cast<Source*>(info->src);
        std::size_t n = source->bytes->readSome(source->buffer, BufferSize);
        if (n == 0) {
            source->ended = true;
            WARNMS(info, JWRN_JPEG_EOF);
            source->buffer[0] = 0xFF;
            source->buffer[1] = JPEG_EOI;
            n = 2;
        }
        source->manager.next_input_byte = source->buffer;
        source->manager.bytes_in_buffer = n;
        return TRUE;
    }
    static void skip(j_decompress_ptr info, long count) {
        auto* source = reinterpret_cast<Source*>(info->src);
        while (count > static_cast<long>(source->manager.bytes_in_buffer)) {
            count -= static_cast<long>(source->manager.bytes_in_buffer);
            fill(info);
        }
        if (count > 0) {
            source->manager.next_input_byte += count;
            source->manager.bytes_in_buffer -= static_cast<std::size_t>(count);
        }
    }
    static void term(j_decompress_ptr) {}
};

// Stops decoding past MaxScans scans (libjpeg calls it while it takes in the scans).
void JpegReadSession::limitScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans)
        jumpBack(info);
}

JpegReadSession::JpegReadSession(StreamBytes& bytes) : m_source(new Source) {
    setUpErrors(m_error);
    m_info.err = &m_error.manager;
    jpeg_create_decompress(&m_info);
    m_progress.progress_monitor = limitScans;
    m_info.progress = &m_progress;
    m_source->bytes = &bytes;
    m_source->manager = {nullptr, 0, Source::init, Source::fill, Source::skip, jpeg_resync_to_restart, Source::term};
    m_info.src = &m_source->manager;
}

JpegReadSession::~JpegReadSession() {
    jpeg_destroy_decompress(&m_info);
    delete m_source;
}

bool JpegReadSession::readHeader() {
    if (setjmp(m_error.jump))
        return false;
    if (jpeg_read_header(&m_info, TRUE) != JPEG_HEADER_OK)
        return false;
    return static_cast<unsigned long long>(m_info.image_width) * m_info.image_height <= StreamFormat::MaxImagePixels;
}

bool JpegReadSession::cutShort() const {
    return m_source->ended;
}

bool JpegReadSession::start(unsigned long long dataBytes) {
    if (setjmp(m_error.jump))
        return false;
    const unsigned long long memory =
        4 * StreamFormat::UnbackedPixels + StreamFormat::PixelsPerByte * std::min(dataBytes, 1ULL << 40);
    m_info.mem->max_memory_to_use = static_cast<long>(std::min<unsigned long long>(memory, LONG_MAX));
    const bool fourChannels = m_info.jpeg_color_space == JCS_CMYK || m_info.jpeg_color_space == JCS_YCCK;
    m_info.out_color_space = fourChannels ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&m_info);
    return m_info.output_components == 4;
}

bool JpegReadSession::readRows(JSAMPARRAY rows, JDIMENSION count) {
    if (setjmp(m_error.jump))
        return false;
    for (JDIMENSION done = 0; done < count;) {
        const JDIMENSION read = jpeg_read_scanlines(&m_info, rows + done, count - done);
        if (read == 0)
            return false;
        done += read;
    }
    return true;
}

bool JpegReadSession::finish() {
    if (setjmp(m_error.jump))
        return false;
    jpeg_finish_decompress(&m_info);
    return true;
}

// Writes through a buffer into the stream.
struct JpegWriteSession::Destination {
    jpeg_destination_mgr manager;
    opstream* stream;
    JOCTET buffer[BufferSize];

    static void init(j_compress_ptr info) {
        auto* destination = reinterpret_cast<Destination*>(info->dest);
        destination->manager.next_output_byte = destination->buffer;
        destination->manager.free_in_buffer = BufferSize;
    }
    static boolean empty(j_compress_ptr info) {
        auto* destination = reinterpret_cast<Destination*>(info->dest);
        destination->stream->writeBytes(destination->buffer, BufferSize);
        init(info);
        return TRUE;
    }
    static void term(j_compress_ptr info) {
        auto* destination = reinterpret_cast<Destination*>(info->dest);
        destination->stream->writeBytes(destination->buffer, BufferSize - destination->manager.free_in_buffer);
    }
};

JpegWriteSession::JpegWriteSession(opstream& stream) : m_destination(new Destination) {
    setUpErrors(m_error);
    m_info.err = &m_error.manager;
    jpeg_create_compress(&m_info);
    m_destination->stream = &stream;
    m_destination->manager = {nullptr, 0, Destination::init, Destination::empty, Destination::term};
    m_info.dest = &m_destination->manager;
}

JpegWriteSession::~JpegWriteSession() {
    jpeg_destroy_compress(&m_info);
    delete m_destination;
}

bool JpegWriteSession::start(int width, int height, int quality) {
    if (setjmp(m_error.jump))
        return false;
    m_info.image_width = static_cast<JDIMENSION>(width);
    m_info.image_height = static_cast<JDIMENSION>(height);
    m_info.input_components = 4;
    m_info.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&m_info);
    jpeg_set_quality(&m_info, quality, TRUE);
    jpeg_start_compress(&m_info, TRUE);
    return true;
}

bool JpegWriteSession::writeRows(JSAMPARRAY rows, JDIMENSION count) {
    if (setjmp(m_error.jump))
        return false;
    for (JDIMENSION done = 0; done < count;) {
        const JDIMENSION written = jpeg_write_scanlines(&m_info, rows + done, count - done);
        if (written == 0)
            return false;
        done += written;
    }
    return true;
}

bool JpegWriteSession::finish() {
    if (setjmp(m_error.jump))
        return false;
    jpeg_finish_compress(&m_info);
    return true;
}
