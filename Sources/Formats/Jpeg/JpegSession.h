#pragma once
// libjpeg's decompressor and compressor on object streams. libjpeg reports a fatal error by a long jump back into
// the function that set it up, so each step that may fail is a small function that owns nothing (the sessions
// own the libjpeg state and release it whatever happened).

#include "StreamBytes.h"
#include "Streams/opstream.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

class JpegReadSession {
public:
    explicit JpegReadSession(StreamBytes& bytes);
    ~JpegReadSession();
    JpegReadSession(const JpegReadSession&) = delete;
    JpegReadSession& operator=(const JpegReadSession&) = delete;

    // The header; false for data libjpeg cannot take.
    bool readHeader();
    // Starts decompressing to 8-bit BGRA (or CMYK for the four-channel colour spaces, converted row by row).
    // libjpeg's whole-picture buffers (progressive and multi-scan files) stand for no data until the scans fill
    // them: its memory is bounded by 4 bytes for each of StreamFormat::UnbackedPixels plus PixelsPerByte bytes
    // for each of the file's `dataBytes`, and files of more than 100 scans are refused.
    bool start(unsigned long long dataBytes);
    // The next `count` rows of width x 4 bytes each.
    bool readRows(JSAMPARRAY rows, JDIMENSION count);
    bool finish();
    // Whether the data ended before the picture did (libjpeg pads what is missing with grey).
    bool cutShort() const;

    jpeg_decompress_struct& info() { return m_info; }
    bool cmyk() const { return m_info.out_color_space == JCS_CMYK; }

private:
    static void limitScans(j_common_ptr info);

    jpeg_decompress_struct m_info{};
    JpegError m_error{};
    jpeg_progress_mgr m_progress{};
    struct Source;
    Source* m_source;
};

class JpegWriteSession {
public:
    explicit JpegWriteSession(opstream& stream);
    ~JpegWriteSession();
    JpegWriteSession(const JpegWriteSession&) = delete;
    JpegWriteSession& operator=(const JpegWriteSession&) = delete;

    bool start(int width, int height, int quality);
    bool writeRows(JSAMPARRAY rows, JDIMENSION count);
    bool finish();

private:
    jpeg_compress_struct m_info{};
    JpegError m_error{};
    struct Destination;
    Destination* m_destination;
};
