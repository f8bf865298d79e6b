// Storage, construction, concatenation and comparison of GString.

#include "Text/GString.h"

#include "Text/Utf8.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <utility>

namespace {

// Longest text a block may hold; keeps capacity + header within 32 bits.
constexpr unsigned MaxLength = 0x7FFFFF00;

bool isResourceId(const char* text) {
    return text != nullptr && reinterpret_cast<std::uintptr_t>(text) < 0x10000;
}

} // namespace

// A length that fits a block, or the standard allocation failure.
unsigned GString::CheckedLength(unsigned long long n) {
    if (n > MaxLength)
        throw std::bad_alloc();
    return static_cast<unsigned>(n);
}

constinit GString::EmptyRecord GString::s_empty{{1, 0, 1}, '\0'};

// A block with room for n characters: capacity is n + 1 rounded down to a multiple of 16, plus 16.
GString::Data* GString::allocate(unsigned n) {
    static_assert(sizeof(Data) == 12, "three 32-bit words precede the characters");
    static_assert(offsetof(EmptyRecord, zero) == sizeof(Data));
    if (n > MaxLength)
        throw std::bad_alloc();
    const std::uint32_t capacity = ((n + 1) & 0x7FFFFFF0u) + 16;
    void* block = ::operator new(sizeof(Data) + capacity);
    Data* d = new (block) Data{{1}, 0, capacity};
    d->chars()[0] = '\0';
    return d;
}

void GString::releaseBlock() noexcept {
    Data* d = data();
    if (d->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        d->~Data();
        ::operator delete(d);
    }
}

void GString::reallocate(unsigned needed, unsigned keep) {
    Data* fresh = allocate(needed);
    keep = std::min({keep, length(), needed});
    std::memcpy(fresh->chars(), m_text, keep);
    fresh->chars()[keep] = '\0';
    fresh->length = keep;
    release();
    m_text = fresh->chars();
}

// Construction and assignment

GString::GString(const GString& other) noexcept : m_text(other.m_text) {
    if (m_text != emptyText())
        data()->refs.fetch_add(1, std::memory_order_relaxed);
}

GString::GString(GString&& other) noexcept : m_text(std::exchange(other.m_text, emptyText())) {}

GString::GString(const char* text) : m_text(emptyText()) {
    assignResource(text);
}

GString::GString(const char* text, unsigned n) : m_text(emptyText()) {
    assign(text, n);
}

GString::GString(char c, unsigned n) : m_text(emptyText()) {
    if (c == '\0' || n == 0)
        return;
    makeUnique(n, 0);
    std::memset(m_text, c, n);
    setLengthUnchecked(n);
}

GString::GString(const char16_t* text) : m_text(emptyText()) {
    if (text == nullptr || *text == u'\0')
        return;
    std::size_t count = 0;
    while (text[count] != u'\0')
        ++count;
    char* out = getBuffer(CheckedLength(3ull * count));
    long written = Utf8::fromUtf16(text, count, out);
    releaseBuffer(written < 0 ? 0 : static_cast<unsigned>(written));
}

GString::GString(HMODULE module, unsigned id) : m_text(emptyText()) {
    loadString(module, id);
}

GString& GString::operator=(const GString& other) noexcept {
    GString copy(other);
    std::swap(m_text, copy.m_text);
    return *this;
}

GString& GString::operator=(GString&& other) noexcept {
    std::swap(m_text, other.m_text);
    return *this;
}

GString& GString::operator=(const char* text) {
    assignResource(text);
    return *this;
}

GString& GString::operator=(char c) {
    return assign(&c, c == '\0' ? 0 : 1);
}

// A value below 0x10000 is a string-resource id (also for assignment, where a raw id would otherwise be read as
// an address).
void GString::assignResource(const char* idOrText) {
    if (isResourceId(idOrText))
        loadString(static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(idOrText)));
    else
        assign(idOrText, idOrText == nullptr ? 0 : CheckedLength(std::strlen(idOrText)));
}

GString& GString::assign(const char* text, unsigned n) {
    if (text == nullptr || *text == '\0' || n == 0) {
        empty();
        return *this;
    }
    const GString keep = overlaps(text) ? *this : GString();
    makeUnique(n, 0);
    std::memcpy(m_text, text, n);
    setLengthUnchecked(n);
    return *this;
}

// Access and raw buffer

void GString::at(unsigned i, char c) {
    unsigned n = length();
    if (i >= n || m_text[i] == c)
        return;
    makeUnique(n, n);
    m_text[i] = c;
    if (c == '\0')
        setLengthUnchecked(i);
}

char* GString::getBuffer(unsigned n) {
    makeUnique(n, 0);
    data()->length = 0;
    m_text[0] = '\0';
    return m_text;
}

void GString::releaseBuffer() {
    releaseBuffer(static_cast<unsigned>(::strnlen(m_text, capacity() - 1)));
}

void GString::releaseBuffer(unsigned n) {
    n = std::min(n, capacity() - 1);
    if (n == 0) {
        empty();
        return;
    }
    makeUnique(n, n);
    setLengthUnchecked(n);
    freeExtra();
}

void GString::freeExtra() {
    if (isEmpty()) {
        empty();
        return;
    }
    const unsigned n = length();
    Data* fresh = allocate(n);
    std::memcpy(fresh->chars(), m_text, n);
    fresh->chars()[n] = '\0';
    fresh->length = n;
    release();
    m_text = fresh->chars();
}

// Concatenation and repetition

GString& GString::operator+=(const GString& text) {
    if (text.m_text == m_text)
        return *this *= 2;
    return insert(length(), text.m_text, text.length());
}

GString& GString::operator+=(const char* text) {
    return text == nullptr ? *this : insert(length(), text, CheckedLength(std::strlen(text)));
}

GString& GString::operator+=(char c) {
    return insert(length(), &c, c == '\0' ? 0 : 1);
}

GString& GString::operator*=(unsigned n) {
    const unsigned old = length();
    if (n == 0) {
        empty();
        return *this;
    }
    if (n == 1 || old == 0)
        return *this;
    const unsigned total = CheckedLength(std::uint64_t(old) * n);
    makeUnique(total, old);
    // Double the copied part until it covers the whole length.
    for (unsigned done = old; done < total;) {
        unsigned chunk = std::min(done, total - done);
        std::memcpy(m_text + done, m_text, chunk);
        done += chunk;
    }
    setLengthUnchecked(total);
    return *this;
}

GString GString::operator*(unsigned n) const {
    GString result(*this);
    result *= n;
    return result;
}

GString GString::Concat(const char* a, unsigned aLength, const char* b, unsigned bLength) {
    GString result;
    const unsigned total = CheckedLength(std::uint64_t(aLength) + bLength);
    if (total == 0)
        return result;
    result.makeUnique(total, 0);
    std::memcpy(result.m_text, a, aLength);
    std::memcpy(result.m_text + aLength, b, bLength);
    result.setLengthUnchecked(total);
    return result;
}

GString operator+(const GString& a, const GString& b) {
    return GString::Concat(a.m_text, a.length(), b.m_text, b.length());
}

GString operator+(const GString& a, const char* b) {
    return b == nullptr ? a : GString::Concat(a.m_text, a.length(), b, GString::CheckedLength(std::strlen(b)));
}

GString operator+(const char* a, const GString& b) {
    return a == nullptr ? b : GString::Concat(a, GString::CheckedLength(std::strlen(a)), b.m_text, b.length());
}

GString operator+(const GString& a, char b) {
    return GString::Concat(a.m_text, a.length(), &b, b == '\0' ? 0 : 1);
}

GString operator+(char a, const GString& b) {
    return GString::Concat(&a, a == '\0' ? 0 : 1, b.m_text, b.length());
}

// Comparison

namespace {

const char* orEmpty(const char* text) {
    return text == nullptr ? "" : text;
}

int lowered(const char* p) {
    return static_cast<unsigned char>(Utf8::toLower(*p));
}

} // namespace

bool operator==(const GString& a, const GString& b) noexcept {
    return a.m_text == b.m_text || std::strcmp(a.m_text, b.m_text) == 0;
}

bool operator==(const GString& a, const char* b) noexcept {
    return std::strcmp(a.m_text, orEmpty(b)) == 0;
}

std::strong_ordering operator<=>(const GString& a, const GString& b) noexcept {
    return a.m_text == b.m_text ? std::strong_ordering::equal : std::strcmp(a.m_text, b.m_text) <=> 0;
}

std::strong_ordering operator<=>(const GString& a, const char* b) noexcept {
    return std::strcmp(a.m_text, orEmpty(b)) <=> 0;
}

int GString::UCcompare(const char* a, const char* b) noexcept {
    a = orEmpty(a);
    b = orEmpty(b);
    for (; *a != '\0' && lowered(a) == lowered(b); ++a, ++b) {
    }
    return lowered(a) - lowered(b);
}
