#pragma once
// opstream: writes primitive values in the stream's byte order, strings, class references and objects. Objects
// are framed by a prefix (marker and class name) and a suffix (marker, frame length and the name again);
// pointers write an object once and refer to it by its index afterwards.

#include "IO/GIO.h"
#include "Streams/pstream.h"

#include <array>
#include <utility>
#include <vector>

class GMetaClass;
class GStreamable;
class GString;

class opstream : public virtual pstream {
public:
    opstream() = default;
    explicit opstream(GAbstractBufferedIO* io) : pstream(io) {}

    void writeByte(BYTE b);
    void writeWord(WORD w);
    void writeDWord(DWORD d);
    // Values below 0x8000 as one WORD, others as two (31 bits survive).
    void compat_writeDWord(DWORD d);
    std::size_t writeBytes(const void* data, std::size_t n);
    // `count` elements, each byte-reversed on its own in big-endian order.
    void writeBytes(const void* data, std::size_t elementSize, std::size_t count);
    void fillBytes(std::size_t count, BYTE byte);

    // 8-bit strings (null is written as null); wide strings of 16-bit characters.
    void writeString(const char* text) { baseWriteString(text, 1); }
    void writeCharString(const char* text) { baseWriteString(text, 1); }
    void writeWideString(const char16_t* text) { baseWriteString(text, 2); }
    void baseWriteString(const void* text, unsigned charSize);

    // An object frame, without pointer byte.
    void writeStreamable(const GStreamable& object);
    // Null (or an object that is not to be written) as BYTE 0; a known object as BYTE 1 and its index; a new one
    // (or any, with forceNew) as BYTE 2 and its frame.
    void writePointer(const GStreamable* object, bool forceNew = false);
    // Enters an object the reader has its own instance of; BYTE 1 and its index.
    void registerStaticObjectToWrite(const GStreamable* object);

    opstream& operator<<(signed char value);
    opstream& operator<<(short value);
    opstream& operator<<(int value);
    opstream& operator<<(bool value);
    opstream& operator<<(float value);
    opstream& operator<<(double value);
    opstream& operator<<(const GString& text);
    opstream& operator<<(const GMetaClass* meta);
    // Other pointers would silently turn into bools.
    template <class T>
    opstream& operator<<(const T*) = delete;

    unsigned long countOfWrittenBytes() const { return m_written; }
    // The writing side of ipstream::claimUnbackedPixels, in the same budget: whether an image may go as its size only.
    // Past the budget a reader allows it answers false, and the image must be written with its pixels.
    bool reserveUnbackedPixels(unsigned long long pixels);
    unsigned long long unbackedPixels() const { return m_unbackedPixels; }
    long tellp();
    // Moves the device, then forgets the written objects (indices restart at 1) and the written-byte count.
    long seekp(long offset, GIO::IOSeekDirection direction);

private:
    // Indices of the written objects: 63 buckets by address, each sorted by address.
    class WrittenObjects {
    public:
        // The object's index, or 0.
        DWORD find(const GStreamable* object) const;
        // The next index; the object keeps its first index if it had one.
        DWORD enter(const GStreamable* object);
        void clear();

    private:
        std::array<std::vector<std::pair<const GStreamable*, DWORD>>, 63> m_buckets;
        DWORD m_next = 1;
    };

    void writeRaw(const BYTE* bytes, std::size_t n);
    void writeIndex(DWORD index);

    WrittenObjects m_objects;
    unsigned long m_written = 0;
    unsigned long long m_unbackedPixels = 0;
};
