#include "StreamBytes.h"

#include "Errors/GException.h"

#include <algorithm>

namespace {

constexpr std::size_t Piece = 64 * 1024;

} // namespace

bool StreamBytes::read(void* buffer, std::size_t n) {
    const std::size_t got = m_stream.readBytes(buffer, n);
    m_consumed += static_cast<unsigned long>(got);
    return got == n;
}

std::size_t StreamBytes::readSome(void* buffer, std::size_t n) {
    const std::size_t got = m_stream.readBytes(buffer, n);
    m_consumed += static_cast<unsigned long>(got);
    return got;
}

bool StreamBytes::skip(unsigned long long n) {
    std::uint8_t piece[4096];
    while (n > 0) {
        const std::size_t step = static_cast<std::size_t>(std::min<unsigned long long>(n, sizeof piece));
        if (!read(piece, step))
            return false;
        n -= step;
    }
    return true;
}

std::vector<std::uint8_t> StreamBytes::readUpTo(unsigned long long n) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < n) {
        const std::size_t step = static_cast<std::size_t>(std::min<unsigned long long>(n - bytes.size(), Piece));
        const std::size_t before = bytes.size();
        bytes.resize(before + step);
        const std::size_t got = m_stream.readBytes(bytes.data() + before, step);
        m_consumed += static_cast<unsigned long>(got);
        bytes.resize(before + got);
        if (got < step)
            break;
    }
    return bytes;
}

bool StreamBytes::readExactly(std::vector<std::uint8_t>& bytes, unsigned long long n) {
    bytes = readUpTo(n);
    return bytes.size() == n;
}

long long StreamBytes::remaining() {
    GIO* device = m_stream.getIO();
    if (device == nullptr)
        return -1;
    try {
        const long here = device->gtell();
        const long end = here >= 0 ? device->gseek(0, GIO::FromEnd) : -1;
        if (here < 0 || end < here || device->gseek(here, GIO::FromBegin) != here)
            return -1;
        return end - here;
    } catch (CException* e) { // a device that cannot seek (an inflating one)
        CExceptionPtr<> held(e);
        return -1;
    }
}
