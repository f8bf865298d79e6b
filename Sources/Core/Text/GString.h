#pragma once
// GString: the system's one string type. It holds zero-terminated UTF-8 text in a heap block shared between
// copies and copied only when one copy changes (copy on write); the reference count is atomic, so copies may live
// in several threads. A `const char*` below 0x10000 given to a constructor is a string-resource id.

#include "win/Win32Types.h"

#include <atomic>
#include <compare>
#include <cstdarg>
#include <cstdint>

#define GSTRING_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

class GString {
public:
    // Loads string `id` into `buffer` (at most `size` bytes with the terminator); returns the characters written,
    // 0 when it does not know the id.
    using LoadStringFunc = unsigned (*)(unsigned id, char* buffer, unsigned size, void* context);
    using CharPredicate = bool (*)(char);

    // The position that stands for the end of the string.
    static constexpr unsigned End = 0x7FFFFFFF;

    GString() noexcept : m_text(emptyText()) {}
    GString(const GString& other) noexcept;
    GString(GString&& other) noexcept;
    GString(const char* text);
    GString(const char* text, unsigned n);
    GString(char c, unsigned n);
    explicit GString(const char16_t* text);
    GString(HMODULE module, unsigned id);
    ~GString() { release(); }

    GString& operator=(const GString& other) noexcept;
    GString& operator=(GString&& other) noexcept;
    GString& operator=(const char* text);
    GString& operator=(char c);
    GString& assign(const char* text, unsigned n);

    // Access
    unsigned length() const noexcept { return data()->length; }
    unsigned capacity() const noexcept { return data()->capacity; }
    bool isEmpty() const noexcept { return *m_text == '\0'; }
    operator const char*() const noexcept { return m_text; }
    char at(unsigned i) const noexcept { return m_text[i]; }
    void at(unsigned i, char c);
    void empty() noexcept {
        release();
        m_text = emptyText();
    }
    void Empty() noexcept { empty(); }

    // Raw buffer: getBuffer drops the old text and returns room for n characters; releaseBuffer takes the length
    // from the first zero (or sets it to n) and then trims the block with freeExtra.
    char* getBuffer(unsigned n);
    void releaseBuffer();
    void releaseBuffer(unsigned n);
    void freeExtra();

    // Concatenation and repetition
    GString& operator+=(const GString& text);
    GString& operator+=(const char* text);
    GString& operator+=(char c);
    GString& operator*=(unsigned n);
    GString operator*(unsigned n) const;
    friend GString operator*(unsigned n, const GString& s) { return s * n; }
    friend GString operator+(const GString& a, const GString& b);
    friend GString operator+(const GString& a, const char* b);
    friend GString operator+(const char* a, const GString& b);
    friend GString operator+(const GString& a, char b);
    friend GString operator+(char a, const GString& b);

    // Comparison: byte order of the UTF-8 text, case-sensitive; a null text equals the empty string.
    friend bool operator==(const GString& a, const GString& b) noexcept;
    friend bool operator==(const GString& a, const char* b) noexcept;
    friend std::strong_ordering operator<=>(const GString& a, const GString& b) noexcept;
    friend std::strong_ordering operator<=>(const GString& a, const char* b) noexcept;
    // Case-insensitive comparison: <0, 0 or >0 like strcmp.
    static int UCcompare(const char* a, const char* b) noexcept;

    // Pieces. Positions beyond the length are clamped, never an error.
    GString& remove(unsigned from, unsigned to = End);
    GString& extract(unsigned from, unsigned to = End);
    GString substr(unsigned pos) const;
    GString substr(unsigned pos, unsigned n) const;
    GString mid(unsigned pos) const { return substr(pos); }
    GString mid(unsigned pos, unsigned n) const { return substr(pos, n); }
    GString operator()(unsigned pos) const { return substr(pos); }
    GString operator()(unsigned pos, unsigned n) const { return substr(pos, n); }
    GString left(unsigned n) const { return substr(0, n); }
    GString right(unsigned n) const;

    GString& insert(unsigned pos, const char* text, unsigned n);
    GString& insert(unsigned pos, const char* text);
    GString& insert(unsigned pos, const GString& text);
    GString& insert(unsigned pos, char c);
    // Replaces [from, to) by `text`: `to` is an end position, not a count.
    GString& replace(unsigned from, unsigned to, const char* text);
    GString& replace(unsigned from, unsigned to, const GString& text);
    // Replaces `what` by `with` once or everywhere; returns the position of the last replacement or -1.
    int replace(const char* what, const char* with, bool all);
    int replace(const GString& what, const char* with, bool all);
    GString& translate(const char* from, const char* to);
    GString& translate(char from, char to);

    GString& setLength(unsigned n, char fill = ' ');
    GString& expandTo(unsigned n, char fill = ' ');
    GString& grow(int delta);
    GString& detab(unsigned width);
    unsigned char_count(char c) const noexcept;

    GString& ltrim(char c);
    GString& ltrim(const char* set);
    GString& ltrim(CharPredicate matches);
    GString& rtrim(char c);
    GString& rtrim(const char* set);
    GString& rtrim(CharPredicate matches);
    GString& trim(char c);
    GString& trim(const char* set);
    GString& trim(CharPredicate matches);

    GString& toLower();
    GString& toUpper();
    static char* ToLower(char* text) noexcept;
    static char* ToUpper(char* text) noexcept;

    // Segments: run n (from 0) of characters inside `set` (Including) or outside it (Excluding, the n-th field
    // between delimiters). Run 0 starts at position 0 and may be empty.
    GString& segmentIncluding(const char* set, unsigned n);
    GString& segmentIncluding(char c, unsigned n);
    GString& segmentExcluding(const char* set, unsigned n);
    GString& segmentExcluding(char c, unsigned n);
    GString getSegmentIncluding(const char* set, unsigned n) const;
    GString getSegmentIncluding(char c, unsigned n) const;
    GString getSegmentExcluding(const char* set, unsigned n) const;
    GString getSegmentExcluding(char c, unsigned n) const;

    // Formatting: printf into a 4096-byte work buffer (longer output is cut). The id forms take the format from
    // a string resource and leave the string empty when it is not found.
    GString& format(const char* fmt, ...) GSTRING_PRINTF(2, 3);
    GString& vformat(const char* fmt, va_list args) GSTRING_PRINTF(2, 0);
    GString& format(unsigned id, ...);
    GString& vformat(unsigned id, va_list args);
    GString& format(HMODULE module, unsigned id, ...);
    GString& vformat(HMODULE module, unsigned id, va_list args);
    static GString Format(const char* fmt, ...) GSTRING_PRINTF(1, 2);
    static GString Format(unsigned id, ...);
    static GString Format(HMODULE module, unsigned id, ...);

    // String resources: loadString(id) asks the registered loaders, newest first; the module form reads the
    // module's own table. Both return true when a non-empty text was found.
    bool loadString(unsigned id);
    bool loadString(HMODULE module, unsigned id);
    static void AddLoadStringFunc(LoadStringFunc func, void* context);

private:
    // The header in front of the characters of every block.
    struct Data {
        std::atomic<std::int32_t> refs;
        std::uint32_t length;
        std::uint32_t capacity; // character bytes, terminator included

        char* chars() noexcept { return reinterpret_cast<char*>(this + 1); }
    };
    // The shared empty string: never written, never freed.
    struct EmptyRecord {
        Data header;
        char zero;
    };
    static EmptyRecord s_empty;

    static Data* allocate(unsigned n);
    static char* emptyText() noexcept { return &s_empty.zero; }
    static unsigned CheckedLength(unsigned long long n);
    static GString Concat(const char* a, unsigned aLength, const char* b, unsigned bLength);
    Data* data() const noexcept { return reinterpret_cast<Data*>(m_text) - 1; }
    void release() noexcept {
        if (m_text != emptyText())
            releaseBlock();
    }
    void releaseBlock() noexcept;
    // Makes the block this string's own with room for `needed` characters, keeping the first `keep` characters
    // of the old text when a new block has to be made.
    void makeUnique(unsigned needed, unsigned keep) {
        if (m_text == emptyText() || data()->refs.load(std::memory_order_acquire) != 1 || data()->capacity <= needed)
            reallocate(needed, keep);
    }
    void reallocate(unsigned needed, unsigned keep);
    // Sets the length of a block this string owns; an empty result becomes the shared empty string.
    void setLengthUnchecked(unsigned n) noexcept {
        if (n == 0) {
            empty();
            return;
        }
        data()->length = n;
        m_text[n] = '\0';
    }
    // Whether `text` points into this string's own block.
    bool overlaps(const char* text) const noexcept {
        const auto address = reinterpret_cast<std::uintptr_t>(text);
        const auto block = reinterpret_cast<std::uintptr_t>(data());
        return address >= block && address < block + sizeof(Data) + data()->capacity;
    }
    void assignResource(const char* idOrText);
    void keepSegment(const char* set, unsigned n, bool including);
    GString& keepBetween(unsigned begin, unsigned end, bool left, bool right);
    bool loadWith(LoadStringFunc func, void* context, unsigned id);

    char* m_text;
};

static_assert(sizeof(GString) == sizeof(char*), "a GString holds exactly one pointer");
