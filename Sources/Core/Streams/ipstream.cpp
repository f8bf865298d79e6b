#include "Streams/ipstream.h"

#include "Streams/ByteOrder.h"
#include "Streams/GStreamable.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"
#include "Text/Utf8.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

namespace {

// The table entry of an object that was skipped: back-references to it read as null.
char skippedObject;
GStreamable* const Skipped = reinterpret_cast<GStreamable*>(&skippedObject);

// Strings and skipped stretches are read in pieces of this size, so what is allocated follows the data.
constexpr std::size_t Piece = 64 * 1024;

} // namespace

struct ipstream::Frame {
    unsigned long start = 0;
    bool newStyle = true;
    bool hasName = false;
    GString name;
    const GMetaClass* meta = nullptr;
    bool owned = false; // the object has an owner from the start: the caller's, or the reader that claimed it
};

ipstream::ipstream() {
    m_objects.reserve(1024);
}

ipstream::ipstream(GAbstractBufferedIO* io) : pstream(io) {
    m_objects.reserve(1024);
}

void ipstream::raiseEndOfData() const {
    RaiseStreamError("Unexpected end of stream. Position=%li", static_cast<long>(m_read));
}

// Primitive values

void ipstream::readExactly(void* buffer, std::size_t n) {
    if (getIO()->gread(buffer, n) != n)
        raiseEndOfData();
    m_read += n;
}

BYTE ipstream::readByte() {
    const int b = getIO()->readByte();
    if (b < 0)
        raiseEndOfData();
    ++m_read;
    return static_cast<BYTE>(b);
}

BYTE ipstream::readVersion(BYTE newest, const std::type_info& type) {
    const BYTE version = readByte();
    if (version > newest)
        throw new NewVersionOfClass_Exception(version, type);
    return version;
}

WORD ipstream::readWord() {
    WORD w;
    readExactly(&w, sizeof w);
    return need_swap_bytes() ? ByteSwap(w) : w;
}

DWORD ipstream::readDWord() {
    DWORD d;
    readExactly(&d, sizeof d);
    return need_swap_bytes() ? ByteSwap(d) : d;
}

DWORD ipstream::compat_readDWord() {
    const WORD w = readWord();
    return w < 0x8000 ? w : (DWORD{w & 0x7FFFu} << 16) | readWord();
}

std::size_t ipstream::readBytes(void* buffer, std::size_t n) {
    const std::size_t count = getIO()->gread(buffer, n);
    m_read += count;
    return count;
}

std::size_t ipstream::readBytes(void* buffer, std::size_t elementSize, std::size_t count) {
    const std::size_t read = readBytes(buffer, elementSize * count);
    if (need_swap_bytes() && elementSize > 1)
        for (BYTE* p = static_cast<BYTE*>(buffer); p + elementSize <= static_cast<BYTE*>(buffer) + read;
             p += elementSize)
            std::reverse(p, p + elementSize);
    return read;
}

void ipstream::skipBytes(unsigned long long n) {
    BYTE piece[4096];
    while (n > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<unsigned long long>(n, sizeof piece));
        readExactly(piece, chunk);
        n -= chunk;
    }
}

// Reads n bytes in pieces: a length that the data does not hold fails at the end of the data, not in the
// allocation.
std::vector<BYTE> ipstream::readBlock(unsigned long long n) {
    std::vector<BYTE> bytes;
    while (bytes.size() < n) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<unsigned long long>(n - bytes.size(), Piece));
        bytes.resize(bytes.size() + chunk);
        readExactly(bytes.data() + bytes.size() - chunk, chunk);
    }
    return bytes;
}

void* ipstream::baseReadString(unsigned wantedSize) {
    const WORD w = readWord();
    if (w == StreamFormat::NullString)
        return nullptr;
    unsigned size = 1;
    unsigned long long n = w;
    if (w == StreamFormat::LongString) {
        n = readDWord();
        if (n == StreamFormat::SizedString) {
            size = readByte();
            n = readDWord();
        }
    }
    if (size != 1 && size != 2 && size != 4) {
        skipBytes(size * n);
        return nullptr;
    }
    std::vector<BYTE> bytes = readBlock(size * n);
    // Wide characters in the stream's order; 4-byte ones keep their low half.
    std::vector<char16_t> wide;
    if (size > 1) {
        wide.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            DWORD c = 0;
            std::memcpy(&c, bytes.data() + i * size, size);
            if (need_swap_bytes())
                c = size == 2 ? ByteSwap(static_cast<WORD>(c)) : ByteSwap(c);
            wide[i] = static_cast<char16_t>(c);
        }
    }
    if (wantedSize == 2) {
        auto text = std::make_unique<char16_t[]>(n + 1);
        const long units = size == 1 ? Utf8::toUtf16(reinterpret_cast<const char*>(bytes.data()), n, text.get())
                                     : static_cast<long>(std::copy(wide.begin(), wide.end(), text.get()) - text.get());
        if (units < 0)
            return nullptr;
        text[static_cast<std::size_t>(units)] = 0;
        return text.release();
    }
    auto text = std::make_unique<char[]>(size == 1 ? n + 1 : 3 * n + 1);
    const long length = size == 1 ? static_cast<long>(std::copy(bytes.begin(), bytes.end(), text.get()) - text.get())
                                  : Utf8::fromUtf16(wide.data(), n, text.get());
    if (length < 0)
        return nullptr;
    text[static_cast<std::size_t>(length)] = '\0';
    return text.release();
}

ipstream& ipstream::operator>>(signed char& value) {
    value = static_cast<signed char>(readByte());
    return *this;
}

ipstream& ipstream::operator>>(short& value) {
    value = static_cast<short>(readWord());
    return *this;
}

ipstream& ipstream::operator>>(int& value) {
    value = static_cast<int>(readDWord());
    return *this;
}

ipstream& ipstream::operator>>(bool& value) {
    value = readDWord() != 0;
    return *this;
}

ipstream& ipstream::operator>>(float& value) {
    value = std::bit_cast<float>(readDWord());
    return *this;
}

ipstream& ipstream::operator>>(double& value) {
    std::uint64_t bits;
    readExactly(&bits, sizeof bits);
    value = std::bit_cast<double>(need_swap_bytes() ? ByteSwap(bits) : bits);
    return *this;
}

ipstream& ipstream::operator>>(GString& text) {
    text.empty();
    std::unique_ptr<char[]> read(readString());
    if (read)
        text = read.get();
    return *this;
}

ipstream& ipstream::operator>>(const GMetaClass*& meta) {
    const WORD length = readWord() & StreamFormat::ClassNameMask;
    meta = nullptr;
    if (length == StreamFormat::ClassNameMask)
        return *this;
    char name[StreamFormat::ClassNameMask + 1];
    readExactly(name, length);
    name[length] = '\0';
    meta = find_class(name);
    return *this;
}

std::vector<GStreamable*> ipstream::readObjects() const {
    std::vector<GStreamable*> objects;
    for (const Entry& entry : m_objects)
        if (entry.object != Skipped)
            objects.push_back(entry.object);
    return objects;
}

ipstream::OwningScope::OwningScope(ipstream& stream)
    : m_stream(stream), m_outer(std::exchange(stream.m_owningDepth, stream.m_depth)) {}

ipstream::OwningScope::~OwningScope() {
    m_stream.m_owningDepth = m_outer;
}

void ipstream::claim(std::size_t entry, long position) {
    const auto index = static_cast<unsigned long>(entry + 1);
    if (m_objects[entry].owned || m_objects[entry].returned)
        RaiseStreamError("Object #%lu already has an owner. Position=%li", index, position);
    if (m_objects[entry].open)
        RaiseStreamError("Object #%lu would own itself. Position=%li", index, position);
    m_objects[entry].owned = true;
}

// Owned objects go with their owners, so only the others are destroyed here; an object whose reading failed was
// destroyed then and left a placeholder.
void ipstream::destroyReadObjects() {
    std::vector<Entry> entries;
    entries.swap(m_objects);
    for (const Entry& entry : entries)
        if (!entry.owned && entry.object != Skipped)
            entry.object->destroyThis();
}

long ipstream::tellg() {
    return getIO()->gtell();
}

void ipstream::rewind(const Mark& mark) {
    getIO()->gseek(mark.position, GIO::FromBegin);
    m_read = mark.read;
    m_pushedBack = -1;
}

long ipstream::seekg(long offset, GIO::IOSeekDirection direction) {
    const long position = getIO()->gseek(offset, direction);
    m_objects.clear();
    m_read = 0;
    m_unbackedPixels = 0;
    m_decodedPixels = 0;
    m_cutShortPictures = 0;
    return position;
}

void ipstream::claimUnbackedPixels(unsigned long long pixels) {
    if (pixels > StreamFormat::UnbackedPixels - m_unbackedPixels)
        RaiseStreamError("Images without pixel data claim more than %llu pixels. Position=%lu",
                         StreamFormat::UnbackedPixels, m_read);
    m_unbackedPixels += pixels;
}

void ipstream::claimDecodedPixels(unsigned long long pixels, unsigned long long bytesAhead) {
    constexpr unsigned long long LargestCounted = 1ULL << 40; // keeps the product below 2^64
    const unsigned long long counted =
        m_bytesForPixels != ~0ULL ? m_bytesForPixels : m_read + std::min(bytesAhead, LargestCounted);
    const unsigned long long bytes = std::min(counted, LargestCounted);
    const unsigned long long budget = StreamFormat::UnbackedPixels + StreamFormat::PixelsPerByte * bytes;
    if (pixels > budget - std::min(m_decodedPixels, budget))
        RaiseStreamError("Pictures of %llu bytes of data claim more than %llu pixels. Position=%lu", bytes, budget,
                         m_read);
    m_decodedPixels += pixels;
}

const GMetaClass* ipstream::find_class(const char* name) {
    return GMetaClass::FindByName(name);
}

// Objects

DWORD ipstream::readIndex() {
    const WORD w = readWord();
    return w == StreamFormat::LongIndex ? readDWord() : w;
}

// Always least significant byte first, whatever the stream's order.
DWORD ipstream::readFrameLength() {
    BYTE b[4];
    readExactly(b, 4);
    return DWORD{b[0]} | DWORD{b[1]} << 8 | DWORD{b[2]} << 16 | DWORD{b[3]} << 24;
}

bool ipstream::matchesMarker(const BYTE (&marker)[4]) {
    BYTE b[4];
    readExactly(b, 4);
    return std::equal(b, b + 4, marker);
}

void* ipstream::readFrame(const std::type_info& required, GStreamable* target, bool owned) {
    Frame frame;
    frame.owned = owned || target != nullptr;
    frame.start = m_read;
    const BYTE first = readByte();
    if (first == StreamFormat::PrefixMarker[0]) {
        BYTE rest[3];
        readExactly(rest, 3);
        if (!std::equal(rest, rest + 3, StreamFormat::PrefixMarker + 1))
            throw new InvalidPStreamPrefix_Exception(static_cast<long>(frame.start));
    } else if (first == StreamFormat::OldPrefix) {
        frame.newStyle = false;
    } else if (first == StreamFormat::UnsupportedOldPrefix) {
        throw new OldPrefix_Exception();
    } else {
        throw new InvalidPStreamPrefix_Exception(static_cast<long>(frame.start));
    }
    return readFrameContent(frame, required, target);
}

// From the class name on. A frame without a name (its object was not to be written) has no body: it leaves a
// given object as it is, in either style. Old-style frames cannot be skipped, so one of a class unknown here, or
// a nameless one with no object to leave, is an error.
void* ipstream::readFrameContent(Frame& frame, const std::type_info& required, GStreamable* target) {
    std::unique_ptr<char[]> name(readString());
    frame.hasName = name != nullptr;
    frame.name = name.get();
    frame.meta = frame.hasName ? find_class(name.get()) : nullptr;
    if (!frame.newStyle && frame.meta == nullptr && (frame.hasName || target == nullptr))
        throw new UnknownStreamableType_Exception(frame.name);
    if (frame.meta != nullptr)
        return readBody(frame, required, target);
    if (target == nullptr || frame.hasName) {
        skipFrame(frame);
        return nullptr;
    }
    readSuffix(frame);
    return target->cast_to_(required);
}

// The body and the suffix. When either fails, an object built here is destroyed and its entry becomes a
// placeholder.
void* ipstream::readBody(const Frame& frame, const std::type_info& required, GStreamable* target) {
    if (m_depth >= StreamFormat::MaxDepth)
        RaiseStreamError("Objects nested too deeply. Position=%li", static_cast<long>(m_read));
    GRTTIObject* built = nullptr;
    GStreamable* object = target;
    if (object == nullptr) {
        built = frame.meta->buildObject();
        if (built == nullptr)
            throw new AbstractClass_Exception(frame.name);
        object = static_cast<GStreamable*>(built->cast_to_(typeid(GStreamable)));
    }
    void* result = object != nullptr ? object->cast_to_(required) : nullptr;
    if (result == nullptr) {
        const std::type_info& objectType = object != nullptr ? typeid(*object) : *frame.meta->getTypeInfo();
        if (built != nullptr)
            built->destroyThis();
        throw new NotBaseClass_Exception(objectType, required, static_cast<long>(m_read));
    }
    const std::size_t entry = m_objects.size();
    m_objects.push_back({object, frame.owned, true, false}); // before the content, so references back to it resolve
    const GMetaClass* outer = std::exchange(m_readingClass, frame.meta);
    ++m_depth;
    try {
        object->read(*this);
        readSuffix(frame);
    } catch (...) {
        --m_depth;
        m_readingClass = outer;
        m_objects[entry].open = false;
        if (built != nullptr) {
            m_objects[entry].object = Skipped;
            built->destroyThis();
        }
        throw;
    }
    m_objects[entry].open = false;
    --m_depth;
    m_readingClass = outer;
    return result;
}

void ipstream::readSuffix(const Frame& frame) {
    const long position = static_cast<long>(m_read);
    if (!frame.newStyle) {
        if (readByte() != StreamFormat::OldSuffix)
            throw new InvalidPStreamSuffix_Exception(position, frame.name);
        return;
    }
    if (!matchesMarker(StreamFormat::SuffixMarker))
        throw new InvalidPStreamSuffix_Exception(position, frame.name);
    const unsigned long expected = m_read - frame.start;
    if (readFrameLength() != expected)
        throw new InvalidPStreamSuffix_Exception(position, frame.name);
    std::unique_ptr<char[]> name(readString());
    const bool same = frame.hasName ? name != nullptr && frame.name == name.get() : name == nullptr;
    if (!same)
        throw new InvalidPStreamSuffix_Exception(position, frame.name);
}

// The skipping scan reads byte by byte; a byte that breaks a partial match is given back and scanned again.
int ipstream::nextScanByte() {
    if (m_pushedBack >= 0) {
        ++m_read;
        return std::exchange(m_pushedBack, -1);
    }
    const int b = getIO()->readByte();
    if (b >= 0)
        ++m_read;
    return b;
}

bool ipstream::scanMatches(const BYTE* expected, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const int b = nextScanByte();
        if (b != expected[i]) {
            if (b >= 0) {
                m_pushedBack = b;
                --m_read;
            }
            return false;
        }
    }
    return true;
}

// Skips the frame of an unknown class by scanning for its suffix: the suffix marker, the frame's length and its
// name. Frames nested in it are skipped the same way (they are not built: nothing outside could own them), and
// every frame that had a name keeps its place in the table of read objects, so later indices still match the
// writer's. Running out of data raises the suffix error.
void ipstream::skipFrame(const Frame& frame) {
    std::vector<Frame> open{frame};
    if (frame.hasName)
        m_objects.push_back({Skipped, false, false, false});
    while (!open.empty()) {
        const int b = nextScanByte();
        if (b < 0)
            throw new InvalidPStreamSuffix_Exception(static_cast<long>(m_read), open.front().name);
        if (b == StreamFormat::PrefixMarker[0] && scanMatches(StreamFormat::PrefixMarker + 1, 3)) {
            Frame nested;
            nested.start = m_read - 4;
            std::unique_ptr<char[]> name(readString());
            nested.hasName = name != nullptr;
            nested.name = name.get();
            if (nested.hasName)
                m_objects.push_back({Skipped, false, false, false});
            open.push_back(std::move(nested));
            continue;
        }
        if (b != StreamFormat::SuffixMarker[0] || !scanMatches(StreamFormat::SuffixMarker + 1, 3))
            continue;
        const Frame& current = open.back();
        const DWORD length = static_cast<DWORD>(m_read - current.start);
        const BYTE expected[4] = {BYTE(length), BYTE(length >> 8), BYTE(length >> 16), BYTE(length >> 24)};
        if (!scanMatches(expected, 4))
            continue;
        const long position = static_cast<long>(m_read);
        std::unique_ptr<char[]> name(readString());
        const bool same = current.hasName ? name != nullptr && current.name == name.get() : name == nullptr;
        if (!same)
            throw new InvalidPStreamSuffix_Exception(position, current.name);
        open.pop_back();
    }
}

void ipstream::readStreamable(GStreamable& object) {
    readFrame(typeid(GStreamable), &object, true);
}

// A pointer the caller reads itself, outside every object's body and every OwningScope, hands its object over.
bool ipstream::readForCaller() const {
    return m_depth == 0 && m_owningDepth != m_depth;
}

void* ipstream::readPointer(const std::type_info& type) {
    const long position = static_cast<long>(m_read);
    const BYTE marker = readByte();
    switch (marker) {
    case StreamFormat::NullPointer:
        return nullptr;
    case StreamFormat::NewObject: {
        const std::size_t entry = m_objects.size(); // the frame's object is entered first
        void* result = readFrame(type, nullptr, m_owningDepth == m_depth);
        if (result != nullptr && readForCaller())
            m_objects[entry].returned = true;
        return result;
    }
    case StreamFormat::BackReference: {
        const DWORD index = readIndex();
        if (index == 0 || index > m_objects.size() || m_objects[index - 1].object == nullptr)
            throw new InvalidPStreamIndex_Exception(type, index, position);
        GStreamable* object = m_objects[index - 1].object;
        if (object == Skipped)
            return nullptr;
        void* result = object->cast_to_(type);
        if (result == nullptr)
            throw new NotBaseClass_Exception(typeid(*object), type, position);
        if (m_owningDepth == m_depth)
            claim(index - 1, position);
        else if (readForCaller())
            m_objects[index - 1].returned = true;
        return result;
    }
    default:
        throw new InvalidPStreamMarker_Exception(marker, position);
    }
}

bool ipstream::readPointerInto(GStreamable& target) {
    const long position = static_cast<long>(m_read);
    const BYTE marker = readByte();
    if (marker == StreamFormat::NullPointer)
        return false;
    if (marker != StreamFormat::NewObject)
        throw new InvalidPStreamMarker_Exception(marker, position);
    readFrame(typeid(GStreamable), &target, true);
    return true;
}

void ipstream::forget(const GStreamable& object) {
    for (Entry& entry : m_objects)
        if (entry.object == &object)
            entry.object = Skipped;
}

void ipstream::registerStaticObjectToRead(GStreamable* object) {
    const long position = static_cast<long>(m_read);
    const BYTE marker = readByte();
    if (marker != StreamFormat::BackReference)
        throw new InvalidPStreamMarker_Exception(marker, position);
    const DWORD index = readIndex();
    if (index == 0)
        throw new InvalidPStreamIndex_Exception(typeid(*object), index, position);
    if (index <= m_objects.size()) {
        if (m_objects[index - 1].object != object)
            throw new InvalidPStreamIndex_Exception(typeid(*object), index, position);
        return;
    }
    m_objects.push_back({object, true, false, false});
}

GString ipstream::read_class_name_from_reference() {
    try {
        const BYTE first = readByte();
        if (first == StreamFormat::PrefixMarker[0]) {
            BYTE rest[3];
            readExactly(rest, 3);
            if (!std::equal(rest, rest + 3, StreamFormat::PrefixMarker + 1))
                return GString();
        } else if (first != StreamFormat::OldPrefix) {
            return GString();
        }
        std::unique_ptr<char[]> name(readString());
        return GString(name.get());
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        return GString();
    }
}

GString ipstream::read_class_name_from_pointer() {
    try {
        if (readByte() != StreamFormat::NewObject)
            return GString();
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        return GString();
    }
    return read_class_name_from_reference();
}
