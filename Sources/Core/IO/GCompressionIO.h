#pragma once
// GCompressionIO: a buffered device that deflates what it writes and inflates what it reads (raw deflate, no
// header or checksum), or, at level 0, passes the bytes unchanged. Each stretch written between a start and a
// stop of writing is one independent deflate stream; after reading one, the device below stands right behind
// it, so plain and compressed stretches can follow each other in one file.

#include "IO/GBufferedIO.h"

#include <memory>
#include <zlib.h>

class GCompressionIO : public GBufferedIO {
public:
    static constexpr std::size_t CompressedBufferSize = 16384;

    explicit GCompressionIO(long bufferSize = 4096);
    GCompressionIO(GIO* io, long bufferSize = 4096);
    ~GCompressionIO() override;

    // -1 is zlib's default level, 0 no compression, 1 to 9 zlib's levels; a new level applies from the next
    // start of writing or reading on.
    int compression_level() const { return m_level; }
    void compression_level(int level) { m_level = level; }

    // The most bytes that inflating may produce over the device's life (1 GiB unless set): past it reading raises
    // GIOException, so a small file cannot decompress into an unbounded amount of data.
    static constexpr unsigned long long DefaultInflateBudget = 1ULL << 30;
    void setInflateBudget(unsigned long long bytes) { m_inflateBudget = bytes; }
    unsigned long long inflatedBytes() const { return m_inflated; }
    // Drops the stretch in progress after an error, unfinished: zlib's state and the buffered bytes go and the
    // device is idle. Its position is then wherever the failure left it, so the caller seeks next.
    void abandon() noexcept;
    void* cast_to_(const std::type_info& type) const override;

protected:
    void startWrite() override;
    void writeBuffer() override;
    void stopWrite() override;
    void startRead() override;
    void readBuffer() override;
    void stopRead() override;

    // The zlib calls, or the plain copy at level 0. Negative zlib results raise GCompressionException.
    void _deflateInit();
    int _deflate(int flush);
    void _deflateEnd();
    void _inflateInit();
    int _inflate(int flush);
    void _inflateEnd();

private:
    int copyThrough();
    void writeOutCompressed();
    void inflateStep();
    void drainStream();

    void dropStates(bool deflater, bool inflater) noexcept;

    std::unique_ptr<BYTE[]> m_compressed;
    z_stream m_deflater{};
    z_stream m_inflater{};
    z_stream* m_zlib = &m_deflater; // the state of the stretch in progress
    bool m_deflaterReady = false;
    bool m_inflaterReady = false;
    int m_deflaterLevel = 0;
    bool m_inputEnded = false;
    bool m_streamEnded = false;
    bool m_zlibActive = false;
    int m_level = -1;
    int m_activeLevel = -1; // the level of the stretch being written or read
    unsigned long long m_inflateBudget = DefaultInflateBudget;
    unsigned long long m_inflated = 0;
};
