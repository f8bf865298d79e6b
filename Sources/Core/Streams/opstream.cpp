#include "Streams/opstream.h"

#include "Errors/GLibraryExceptions.h"
#include "Streams/ByteOrder.h"
#include "Streams/GStreamable.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

std::size_t bucketOf(const GStreamable* object) {
    return reinterpret_cast<std::uintptr_t>(object) % 63;
}

auto byAddress = [](const std::pair<const GStreamable*, DWORD>& entry, const GStreamable* object) {
    return std::less<const GStreamable*>()(entry.first, object);
};

std::size_t lengthOf(const void* text, unsigned charSize) {
    std::size_t n = 0;
    if (charSize == 2)
        while (static_cast<const char16_t*>(text)[n] != 0)
            ++n;
    else
        n = std::strlen(static_cast<const char*>(text));
    return n;
}

} // namespace

DWORD opstream::WrittenObjects::find(const GStreamable* object) const {
    const auto& bucket = m_buckets[bucketOf(object)];
    auto it = std::lower_bound(bucket.begin(), bucket.end(), object, byAddress);
    return it != bucket.end() && it->first == object ? it->second : 0;
}

DWORD opstream::WrittenObjects::enter(const GStreamable* object) {
    auto& bucket = m_buckets[bucketOf(object)];
    auto it = std::lower_bound(bucket.begin(), bucket.end(), object, byAddress);
    if (it == bucket.end() || it->first != object)
        bucket.insert(it, {object, m_next});
    return m_next++;
}

void opstream::WrittenObjects::clear() {
    for (auto& bucket : m_buckets)
        bucket.clear();
    m_next = 1;
}

void opstream::writeRaw(const BYTE* bytes, std::size_t n) {
    getIO()->gwrite(bytes, n);
    m_written += n;
}

void opstream::writeByte(BYTE b) {
    getIO()->writeByte(b);
    ++m_written;
}

void opstream::writeWord(WORD w) {
    getIO()->writeWord(need_swap_bytes() ? ByteSwap(w) : w);
    m_written += 2;
}

void opstream::writeDWord(DWORD d) {
    getIO()->writeDWord(need_swap_bytes() ? ByteSwap(d) : d);
    m_written += 4;
}

void opstream::compat_writeDWord(DWORD d) {
    if (d < 0x8000) {
        writeWord(static_cast<WORD>(d));
        return;
    }
    writeWord(static_cast<WORD>((d >> 16) | 0x8000));
    writeWord(static_cast<WORD>(d & 0xFFFF));
}

std::size_t opstream::writeBytes(const void* data, std::size_t n) {
    writeRaw(static_cast<const BYTE*>(data), n);
    return n;
}

void opstream::writeBytes(const void* data, std::size_t elementSize, std::size_t count) {
    if (!need_swap_bytes() || elementSize < 2) {
        writeRaw(static_cast<const BYTE*>(data), elementSize * count);
        return;
    }
    BYTE element[16];
    const BYTE* p = static_cast<const BYTE*>(data);
    for (std::size_t i = 0; i < count; ++i, p += elementSize) {
        if (elementSize > sizeof element) { // unusual sizes go byte by byte
            for (std::size_t b = elementSize; b-- > 0;)
                writeByte(p[b]);
            continue;
        }
        std::reverse_copy(p, p + elementSize, element);
        writeRaw(element, elementSize);
    }
}

void opstream::fillBytes(std::size_t count, BYTE byte) {
    BYTE piece[4096];
    std::memset(piece, byte, sizeof piece);
    while (count > 0) {
        const std::size_t n = std::min(count, sizeof piece);
        writeRaw(piece, n);
        count -= n;
    }
}

void opstream::baseWriteString(const void* text, unsigned charSize) {
    if (text == nullptr) {
        writeWord(StreamFormat::NullString);
        return;
    }
    const std::size_t n = lengthOf(text, charSize);
    if (charSize == 1 && n < StreamFormat::LongString) {
        writeWord(static_cast<WORD>(n));
    } else {
        writeWord(StreamFormat::LongString);
        if (charSize != 1) {
            writeDWord(StreamFormat::SizedString);
            writeByte(static_cast<BYTE>(charSize));
        }
        writeDWord(static_cast<DWORD>(n));
    }
    writeBytes(text, charSize, n);
}

void opstream::writeIndex(DWORD index) {
    if (index < StreamFormat::LongIndex) {
        writeWord(static_cast<WORD>(index));
        return;
    }
    writeWord(StreamFormat::LongIndex);
    writeDWord(index);
}

void opstream::writeStreamable(const GStreamable& object) {
    const unsigned long start = m_written;
    const char* name = object.shouldWrite() ? object.getClassName() : nullptr;
    writeRaw(StreamFormat::PrefixMarker, 4);
    writeString(name);
    if (object.shouldWrite()) {
        m_objects.enter(&object);
        object.write(*this);
    }
    writeRaw(StreamFormat::SuffixMarker, 4);
    // The frame length is always least significant byte first, whatever the stream's order.
    getIO()->writeDWord(static_cast<DWORD>(m_written - start));
    m_written += 4;
    writeString(name);
}

void opstream::writePointer(const GStreamable* object, bool forceNew) {
    if (object == nullptr || !object->shouldWrite()) {
        writeByte(StreamFormat::NullPointer);
        return;
    }
    if (const DWORD index = m_objects.find(object); index != 0 && !forceNew) {
        writeByte(StreamFormat::BackReference);
        writeIndex(index);
        return;
    }
    if (object->getMetaClass().getBuilder() == nullptr)
        throw new AbstractClass_Exception(object->getClassName());
    writeByte(StreamFormat::NewObject);
    writeStreamable(*object);
}

void opstream::registerStaticObjectToWrite(const GStreamable* object) {
    DWORD index = m_objects.find(object);
    if (index == 0)
        index = m_objects.enter(object);
    writeByte(StreamFormat::BackReference);
    writeIndex(index);
}

opstream& opstream::operator<<(signed char value) {
    writeByte(static_cast<BYTE>(value));
    return *this;
}

opstream& opstream::operator<<(short value) {
    writeWord(static_cast<WORD>(value));
    return *this;
}

opstream& opstream::operator<<(int value) {
    writeDWord(static_cast<DWORD>(value));
    return *this;
}

opstream& opstream::operator<<(bool value) {
    writeDWord(value ? 1 : 0);
    return *this;
}

opstream& opstream::operator<<(float value) {
    writeDWord(std::bit_cast<DWORD>(value));
    return *this;
}

opstream& opstream::operator<<(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    writeBytes(&bits, sizeof bits, 1);
    return *this;
}

opstream& opstream::operator<<(const GString& text) {
    writeString(text);
    return *this;
}

opstream& opstream::operator<<(const GMetaClass* meta) {
    if (meta == nullptr) {
        writeWord(StreamFormat::ClassNameMask);
        return *this;
    }
    const std::size_t n = std::strlen(meta->getName());
    writeWord(static_cast<WORD>(n));
    writeBytes(meta->getName(), n);
    return *this;
}

long opstream::tellp() {
    return getIO()->gtell();
}

long opstream::seekp(long offset, GIO::IOSeekDirection direction) {
    const long position = getIO()->gseek(offset, direction);
    m_objects.clear();
    m_written = 0;
    m_unbackedPixels = 0;
    return position;
}

bool opstream::reserveUnbackedPixels(unsigned long long pixels) {
    if (pixels > StreamFormat::UnbackedPixels - m_unbackedPixels)
        return false;
    m_unbackedPixels += pixels;
    return true;
}
