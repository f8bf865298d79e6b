#pragma once
// ipstream: reads what opstream writes. Objects are re-created from the class names in their frames through
// the class dictionary; objects of classes this process does not know are skipped. The reader trusts nothing:
// every count and length is checked against the data that is really there, and malformed data raises an
// exception of the InvalidPStream_Exception family instead of reading on.

#include "IO/GIO.h"
#include "Streams/pstream.h"
#include "Text/GString.h"

#include <typeinfo>
#include <vector>

class GMetaClass;
class GStreamable;

class ipstream : public virtual pstream {
public:
    ipstream();
    explicit ipstream(GAbstractBufferedIO* io);

    // Primitive values; the end of the data raises InvalidPStream_Exception.
    BYTE readByte();
    WORD readWord();
    DWORD readDWord();
    DWORD compat_readDWord();
    // Returns the count read (short at the end of the data).
    std::size_t readBytes(void* buffer, std::size_t n);
    std::size_t readBytes(void* buffer, std::size_t elementSize, std::size_t count);
    void skipBytes(unsigned long long n);
    // n bytes, read piece by piece: a length the data does not hold fails at the end of the data instead of
    // being allocated first.
    std::vector<BYTE> readBlock(unsigned long long n);

    // Strings as new[] blocks the caller deletes, null for a null string; texts of another character size are
    // converted (null when that fails).
    char* readString() { return static_cast<char*>(baseReadString(1)); }
    char* readCharString() { return readString(); }
    char16_t* readWideString() { return static_cast<char16_t*>(baseReadString(2)); }
    // `wantedSize` 1 gives a char block, 2 a char16_t block.
    void* baseReadString(unsigned wantedSize);

    // Reads a frame into an existing object.
    void readStreamable(GStreamable& object);
    // An object of the required type (its address as that type), or null.
    void* readPointer(const std::type_info& type);
    // The same as a T pointer: `readPointer<GDIBImage>()`.
    template <class T>
    T* readPointer() {
        return static_cast<T*>(readPointer(typeid(T)));
    }
    // A class's own format version byte. A version above `newest` raises NewVersionOfClass_Exception for `type`:
    // its layout is unknown, and reading it as the newest would misread the rest of the stream.
    BYTE readVersion(BYTE newest, const std::type_info& type);
    // A pointer written to an object that the reader holds as a member: a new object's frame is read into
    // `target` (which then belongs to the caller); false for a null pointer. A back-reference raises
    // InvalidPStream_Exception: a member is nobody else's object.
    bool readPointerInto(GStreamable& target);
    // An object that stops existing before the stream does (a member read only to be dropped): later references
    // to it read as null.
    void forget(const GStreamable& object);
    // The reader's own instance of an object the writer registered as static.
    void registerStaticObjectToRead(GStreamable* object);
    // Peeks at the class name of the next frame (or of the next pointer's frame), raising no error; the stream
    // is left inside the frame.
    GString read_class_name_from_reference();
    GString read_class_name_from_pointer();

    ipstream& operator>>(signed char& value);
    ipstream& operator>>(short& value);
    ipstream& operator>>(int& value);
    ipstream& operator>>(bool& value);
    ipstream& operator>>(float& value);
    ipstream& operator>>(double& value);
    ipstream& operator>>(GString& text);
    ipstream& operator>>(const GMetaClass*& meta);

    // The objects read since construction or the last seekg (not those of skipped frames).
    std::vector<GStreamable*> readObjects() const;

    // Ownership. Every object the stream builds gets at most one owner, whatever the bytes say: while an
    // OwningScope is open, each pointer read at that level (not inside the objects it reads) is claimed for the
    // reader that opened it, and a pointer to an object that already has an owner raises InvalidPStream_Exception.
    // Objects given to readStreamable and static objects belong to the caller from the start, and so does every
    // object a pointer read at the top level hands to it: no object read later can claim them. After a read that
    // succeeds, the objects that no owner claimed (those reached only through non-owning pointers) are the
    // caller's, with the pointers it was given.
    class OwningScope {
    public:
        explicit OwningScope(ipstream& stream);
        ~OwningScope();
        OwningScope(const OwningScope&) = delete;
        OwningScope& operator=(const OwningScope&) = delete;

    private:
        ipstream& m_stream;
        int m_outer;
    };

    // The one clean-up after a stream error: destroys every object read so far that no read object owns (those
    // that are owned go with their owners), each exactly once, and forgets the table. The pointers the caller
    // was given by readPointer are among them; nothing the stream built may be destroyed any other way.
    void destroyReadObjects();

    unsigned long countOfReadBytes() const { return m_read; }

    // The stream's pixel budget (StreamFormat::UnbackedPixels, StreamFormat::PixelsPerByte); past it a claim raises
    // InvalidPStream_Exception. Pixels an object fills without bytes of the stream behind them (an image stored as
    // its size only, what a picture's data skips or never reaches) are claimed before they are made.
    void claimUnbackedPixels(unsigned long long pixels);
    unsigned long long unbackedPixels() const { return m_unbackedPixels; }
    // A picture decoded from compressed data, claimed before it is made: against the bytes read so far and the
    // `bytesAhead` that the caller knows follow.
    void claimDecodedPixels(unsigned long long pixels, unsigned long long bytesAhead);
    unsigned long long decodedPixels() const { return m_decodedPixels; }
    // The bytes the budget of decoded pixels counts instead, for a stream whose bytes are inflated from fewer (a
    // scene counts its compressed bytes, which is what the file holds).
    void countBytesForPixels(unsigned long long bytes) { m_bytesForPixels = bytes; }
    // A picture whose data ended before it did: it was read as far as the data goes, and the caller says so.
    void noteCutShortPicture() { ++m_cutShortPictures; }
    unsigned long cutShortPictures() const { return m_cutShortPictures; }

    // A place in the stream to come back to, unlike seekg keeping what was read before it (so a format can look
    // at the data ahead inside a larger stream). The device must be able to seek back.
    struct Mark {
        long position;
        unsigned long read;
    };
    Mark mark() { return {tellg(), m_read}; }
    void rewind(const Mark& mark);
    // While an object reads itself: the class record found for its frame's name (possibly an old name).
    const GMetaClass* metaclassOfReadingObject() const { return m_readingClass; }
    long tellg();
    // Moves the device, then forgets the read objects and the read-byte count.
    long seekg(long offset, GIO::IOSeekDirection direction);
    virtual const GMetaClass* find_class(const char* name);

private:
    struct Frame;

    [[noreturn]] void raiseEndOfData() const;
    void readExactly(void* buffer, std::size_t n);
    DWORD readIndex();
    DWORD readFrameLength();
    bool matchesMarker(const BYTE (&marker)[4]);
    // `owned`: the object built is claimed for the reader in whose OwningScope it is read.
    void* readFrame(const std::type_info& required, GStreamable* target, bool owned);
    void* readFrameContent(Frame& frame, const std::type_info& required, GStreamable* target);
    void* readBody(const Frame& frame, const std::type_info& required, GStreamable* target);
    void readSuffix(const Frame& frame);
    void skipFrame(const Frame& frame);
    int nextScanByte();
    bool scanMatches(const BYTE* expected, std::size_t n);

    struct Entry {
        GStreamable* object;
        bool owned;
        bool open;     // its body is being read: claiming it from inside would make it own itself
        bool returned; // handed to the caller at the top level: the caller's, never a read object's
    };
    void claim(std::size_t entry, long position);
    bool readForCaller() const;

    std::vector<Entry> m_objects;
    int m_owningDepth = -1; // the depth at which pointers are claimed, -1 outside any OwningScope
    const GMetaClass* m_readingClass = nullptr;
    unsigned long m_read = 0;
    unsigned long long m_unbackedPixels = 0;
    unsigned long long m_decodedPixels = 0;
    unsigned long long m_bytesForPixels = ~0ULL; // ~0: the bytes read and ahead
    unsigned long m_cutShortPictures = 0;
    int m_depth = 0;
    int m_pushedBack = -1; // a byte given back by the skipping scan
};
