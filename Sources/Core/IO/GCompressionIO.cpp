#include "IO/GCompressionIO.h"

#include "Classes/GClassBoilerplate.h"
#include "IO/GIOException.h"

#include <algorithm>
#include <cstring>

G_IMPLEMENT_CAST(GCompressionIO, GBufferedIO)

namespace {

int checked(int result) {
    if (result < 0 && result != Z_BUF_ERROR)
        throw new GCompressionException(result);
    return result;
}

} // namespace

GCompressionIO::GCompressionIO(long bufferSize)
    : GBufferedIO(bufferSize), m_compressed(new BYTE[CompressedBufferSize]) {}

GCompressionIO::GCompressionIO(GIO* io, long bufferSize) : GCompressionIO(bufferSize) {
    setIO(io);
}

GCompressionIO::~GCompressionIO() {
    flushQuietly();
    dropStates(true, true);
}

// Level 0: the bytes go from input to output unchanged.
int GCompressionIO::copyThrough() {
    const uInt n = std::min(m_zlib->avail_in, m_zlib->avail_out);
    std::memcpy(m_zlib->next_out, m_zlib->next_in, n);
    m_zlib->next_in += n;
    m_zlib->avail_in -= n;
    m_zlib->next_out += n;
    m_zlib->avail_out -= n;
    return Z_OK;
}

// zlib's states are kept from one stretch to the next and reset, not made anew: making one allocates and clears
// about 256 KiB, which would dominate writing and reading many small stretches.

void GCompressionIO::_deflateInit() {
    m_zlib = &m_deflater;
    m_zlib->next_in = nullptr;
    m_zlib->avail_in = 0;
    if (m_activeLevel == 0)
        return;
    if (m_deflaterReady && m_deflaterLevel == m_activeLevel) {
        checked(deflateReset(m_zlib));
    } else {
        dropStates(true, false);
        checked(deflateInit2(m_zlib, m_activeLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY));
        m_deflaterReady = true;
        m_deflaterLevel = m_activeLevel;
    }
    m_zlibActive = true;
}

int GCompressionIO::_deflate(int flush) {
    if (m_activeLevel == 0)
        return flush == Z_FINISH && m_zlib->avail_in == 0 ? Z_STREAM_END : copyThrough();
    return checked(deflate(m_zlib, flush));
}

void GCompressionIO::_deflateEnd() {
    m_zlibActive = false;
}

void GCompressionIO::_inflateInit() {
    m_zlib = &m_inflater;
    m_zlib->next_in = nullptr;
    m_zlib->avail_in = 0;
    if (m_activeLevel == 0)
        return;
    if (m_inflaterReady) {
        checked(inflateReset(m_zlib));
    } else {
        checked(inflateInit2(m_zlib, -15));
        m_inflaterReady = true;
    }
    m_zlibActive = true;
}

int GCompressionIO::_inflate(int flush) {
    if (m_activeLevel == 0)
        return copyThrough();
    return checked(inflate(m_zlib, flush));
}

void GCompressionIO::_inflateEnd() {
    m_zlibActive = false;
}

void GCompressionIO::dropStates(bool deflater, bool inflater) noexcept {
    if (deflater && m_deflaterReady)
        deflateEnd(&m_deflater);
    if (inflater && m_inflaterReady)
        inflateEnd(&m_inflater);
    m_deflaterReady = m_deflaterReady && !deflater;
    m_inflaterReady = m_inflaterReady && !inflater;
    if (deflater)
        m_deflater = z_stream{};
    if (inflater)
        m_inflater = z_stream{};
}

// Writing

void GCompressionIO::startWrite() {
    GBufferedIO::startWrite();
    m_activeLevel = m_level;
    _deflateInit();
    m_zlib->next_out = m_compressed.get();
    m_zlib->avail_out = CompressedBufferSize;
}

void GCompressionIO::writeOutCompressed() {
    const std::size_t pending = CompressedBufferSize - m_zlib->avail_out;
    if (pending > 0 && getIO() != nullptr)
        getIO()->gwrite(m_compressed.get(), pending);
    m_zlib->next_out = m_compressed.get();
    m_zlib->avail_out = CompressedBufferSize;
}

void GCompressionIO::writeBuffer() {
    m_zlib->next_in = reinterpret_cast<Bytef*>(getWBegin());
    m_zlib->avail_in = static_cast<uInt>(getWCurrent() - getWBegin());
    while (m_zlib->avail_in > 0) {
        if (m_zlib->avail_out == 0)
            writeOutCompressed();
        _deflate(Z_NO_FLUSH);
    }
    setWPointers(getBuffer(), getBuffer(), getBuffer() + getBufferSize());
}

void GCompressionIO::stopWrite() {
    writeBuffer();
    for (;;) {
        writeOutCompressed();
        const int result = _deflate(Z_FINISH);
        if (result == Z_STREAM_END || (result == Z_BUF_ERROR && m_zlib->avail_out == CompressedBufferSize))
            break;
    }
    writeOutCompressed();
    _deflateEnd();
    setState(Idle);
}

// Reading

void GCompressionIO::startRead() {
    GAbstractBufferedIO::startRead();
    m_activeLevel = m_level;
    _inflateInit();
    m_zlib->next_in = m_compressed.get();
    m_zlib->avail_in = 0;
    m_inputEnded = false;
    m_streamEnded = false;
    readBuffer();
}

// One inflate call, fetching compressed input first when none is left. At the end of the input without the
// end of the stream (cut data), nothing more is produced.
void GCompressionIO::inflateStep() {
    if (m_zlib->avail_in == 0 && !m_inputEnded) {
        const std::size_t n = getIO() != nullptr ? getIO()->gread(m_compressed.get(), CompressedBufferSize) : 0;
        m_inputEnded = n == 0;
        m_zlib->next_in = m_compressed.get();
        m_zlib->avail_in = static_cast<uInt>(n);
    }
    const uInt before = m_zlib->avail_out;
    const int result = _inflate(Z_NO_FLUSH);
    if (m_activeLevel != 0) {
        m_inflated += before - m_zlib->avail_out;
        if (m_inflated > m_inflateBudget)
            throw new GIOException(
                GString::Format("Compressed data inflates beyond the budget of %llu bytes", m_inflateBudget));
    }
    if (result == Z_STREAM_END) {
        m_streamEnded = true;
        _inflateEnd();
    } else if (m_inputEnded && m_zlib->avail_in == 0 && m_zlib->avail_out == before) {
        m_streamEnded = true;
    }
}

void GCompressionIO::readBuffer() {
    char* buffer = getBuffer();
    m_zlib->next_out = reinterpret_cast<Bytef*>(buffer);
    m_zlib->avail_out = static_cast<uInt>(getBufferSize());
    while (m_zlib->avail_out > 0 && !m_streamEnded)
        inflateStep();
    setRPointers(buffer, buffer, reinterpret_cast<char*>(m_zlib->next_out));
}

// Runs the inflater to the end of the stream, dropping the output, so that the read-ahead that stays unused is
// exactly what follows the compressed data.
void GCompressionIO::drainStream() {
    Bytef scratch[4096];
    while (!m_streamEnded && m_activeLevel != 0) {
        m_zlib->next_out = scratch;
        m_zlib->avail_out = sizeof scratch;
        inflateStep();
    }
}

// Gives back the read-ahead the stretch did not use, so the device stands right behind it. At level 0 the
// unread bytes of the plain buffer are part of it too; inflated bytes still in the buffer are dropped.
void GCompressionIO::stopRead() {
    try {
        drainStream();
    } catch (...) { // damaged data: the stretch cannot be finished, and trying again would fail again
        abandon();
        throw;
    }
    _inflateEnd();
    long unused = static_cast<long>(m_zlib->avail_in);
    if (m_activeLevel == 0)
        unused += static_cast<long>(getREnd() - getRCurrent());
    if (unused > 0 && getIO() != nullptr)
        getIO()->gseek(-unused, FromCurrent);
    m_zlib->avail_in = 0;
    setState(Idle);
}

void GCompressionIO::abandon() noexcept {
    if (m_zlibActive) // a state left in the middle of a stream is not trusted again
        dropStates(getState() == Writing, getState() != Writing);
    m_zlibActive = false;
    m_zlib->avail_in = 0;
    setState(Idle);
}
