// Editing operations of GString: pieces, insertion, replacement, padding, trimming, case and segments.

#include "Text/GString.h"

#include "Text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

unsigned clampedEnd(unsigned pos, unsigned n, unsigned length) {
    return static_cast<unsigned>(std::min<std::uint64_t>(std::uint64_t(pos) + n, length));
}

} // namespace

// Pieces

GString& GString::remove(unsigned from, unsigned to) {
    const unsigned n = length();
    to = std::min(to, n);
    if (from >= to)
        return *this;
    makeUnique(n, n);
    std::memmove(m_text + from, m_text + to, n - to);
    setLengthUnchecked(n - (to - from));
    return *this;
}

GString& GString::extract(unsigned from, unsigned to) {
    remove(to);
    return remove(0, from);
}

GString GString::substr(unsigned pos) const {
    return substr(pos, End);
}

GString GString::substr(unsigned pos, unsigned n) const {
    const unsigned begin = std::min(pos, length());
    return GString(m_text + begin, clampedEnd(pos, n, length()) - begin);
}

GString GString::right(unsigned n) const {
    return n >= length() ? *this : substr(length() - n, n);
}

// Inserting at End appends; any other position beyond the end pads with spaces up to it.
GString& GString::insert(unsigned pos, const char* text, unsigned n) {
    if (text == nullptr || *text == '\0' || n == 0)
        return *this;
    const GString keep = overlaps(text) ? *this : GString();
    const unsigned old = length();
    if (pos == End)
        pos = old;
    const unsigned total = CheckedLength(std::uint64_t(std::max(pos, old)) + n);
    makeUnique(total, old);
    if (pos > old)
        std::memset(m_text + old, ' ', pos - old);
    else
        std::memmove(m_text + pos + n, m_text + pos, old - pos);
    std::memcpy(m_text + pos, text, n);
    setLengthUnchecked(total);
    return *this;
}

GString& GString::insert(unsigned pos, const char* text) {
    return text == nullptr ? *this : insert(pos, text, static_cast<unsigned>(std::strlen(text)));
}

GString& GString::insert(unsigned pos, const GString& text) {
    return insert(pos, text.m_text, text.length());
}

GString& GString::insert(unsigned pos, char c) {
    return insert(pos, &c, c == '\0' ? 0 : 1);
}

GString& GString::replace(unsigned from, unsigned to, const char* text) {
    const GString keep = overlaps(text) ? *this : GString();
    remove(from, to);
    return insert(from, text);
}

GString& GString::replace(unsigned from, unsigned to, const GString& text) {
    const GString keep(text);
    remove(from, to);
    return insert(from, keep);
}

// The whole result is built in one pass, so replacing everywhere stays linear in the length of the text. An
// empty pattern matches nowhere (it would otherwise match forever).
int GString::replace(const char* what, const char* with, bool all) {
    if (what == nullptr || with == nullptr || *what == '\0')
        return -1;
    const std::size_t whatLength = std::strlen(what);
    const std::size_t withLength = std::strlen(with);
    std::string out;
    const char* rest = m_text;
    int last = -1;
    for (const char* found; (found = std::strstr(rest, what)) != nullptr;) {
        out.append(rest, found);
        last = static_cast<int>(out.size());
        out.append(with, withLength);
        rest = found + whatLength;
        if (!all)
            break;
    }
    if (last < 0)
        return -1;
    out.append(rest, static_cast<std::size_t>(m_text + length() - rest));
    assign(out.data(), static_cast<unsigned>(out.size()));
    return last;
}

int GString::replace(const GString& what, const char* with, bool all) {
    return replace(static_cast<const char*>(what), with, all);
}

GString& GString::translate(const char* from, const char* to) {
    if (from == nullptr || to == nullptr)
        return *this;
    std::array<int, 256> map;
    map.fill(-1);
    const std::size_t toLength = std::strlen(to);
    for (std::size_t k = 0; from[k] != '\0' && k < toLength; ++k) {
        int& slot = map[static_cast<unsigned char>(from[k])];
        if (slot < 0)
            slot = static_cast<unsigned char>(to[k]);
    }
    const unsigned n = length();
    if (n == 0)
        return *this;
    makeUnique(n, n);
    for (unsigned i = 0; i < n; ++i)
        if (int mapped = map[static_cast<unsigned char>(m_text[i])]; mapped >= 0)
            m_text[i] = static_cast<char>(mapped);
    return *this;
}

// Turning bytes into zero would hide the rest of the text, so a zero replacement ends the text at the first match.
GString& GString::translate(char from, char to) {
    if (from == to || from == '\0')
        return *this;
    char* first = static_cast<char*>(std::memchr(m_text, from, length()));
    if (first == nullptr)
        return *this;
    if (to == '\0')
        return remove(static_cast<unsigned>(first - m_text));
    const unsigned n = length();
    const auto offset = static_cast<unsigned>(first - m_text);
    makeUnique(n, n);
    std::replace(m_text + offset, m_text + n, from, to);
    return *this;
}

// Length and padding

GString& GString::setLength(unsigned n, char fill) {
    const unsigned old = length();
    if (n == 0) {
        empty();
    } else if (n < old) {
        remove(n);
    } else if (n > old) {
        makeUnique(n, old);
        std::memset(m_text + old, fill, n - old);
        setLengthUnchecked(n);
    }
    return *this;
}

GString& GString::expandTo(unsigned n, char fill) {
    return n > length() ? setLength(n, fill) : *this;
}

GString& GString::grow(int delta) {
    const std::int64_t target = std::int64_t(length()) + delta;
    if (target <= 0) {
        empty();
        return *this;
    }
    return setLength(CheckedLength(static_cast<std::uint64_t>(target)));
}

GString& GString::detab(unsigned width) {
    const unsigned tabs = char_count('\t');
    if (tabs == 0)
        return *this;
    const unsigned total = CheckedLength(length() + std::uint64_t(tabs) * width - tabs);
    GString result;
    if (total > 0) {
        result.makeUnique(total, 0);
        char* out = result.m_text;
        for (const char* p = m_text; p != m_text + length(); ++p) {
            if (*p == '\t')
                out = std::fill_n(out, width, ' ');
            else
                *out++ = *p;
        }
        result.setLengthUnchecked(total);
    }
    *this = std::move(result);
    return *this;
}

unsigned GString::char_count(char c) const noexcept {
    return static_cast<unsigned>(std::count(m_text, m_text + length(), c));
}

// Trimming: each form finds the bounds [begin, end) of what stays, then keeps that part on the asked sides.

namespace {

struct Bounds {
    unsigned begin;
    unsigned end;
};

template <class Matches>
Bounds byteBounds(const char* text, unsigned length, Matches matches) {
    unsigned begin = 0;
    while (begin < length && matches(text[begin]))
        ++begin;
    unsigned end = length;
    while (end > begin && matches(text[end - 1]))
        --end;
    return {begin, end};
}

Bounds setBounds(const char* text, unsigned length, const char* set) {
    const auto begin = static_cast<unsigned>(Utf8::span(text, set));
    unsigned end = begin;
    for (unsigned i = begin; i < length;) {
        const unsigned n = Utf8::charLength(text + i);
        i += n;
        if (!Utf8::setContains(set, text + i - n, n))
            end = i;
    }
    return {begin, end};
}

Bounds charBounds(const char* text, unsigned length, char c) {
    if (c == '\0')
        return {0, length};
    return byteBounds(text, length, [c](char x) { return x == c; });
}

Bounds setOrAllBounds(const char* text, unsigned length, const char* set) {
    return set == nullptr ? Bounds{0, length} : setBounds(text, length, set);
}

} // namespace

GString& GString::keepBetween(unsigned begin, unsigned end, bool left, bool right) {
    return extract(left ? begin : 0, right ? end : length());
}

GString& GString::ltrim(char c) {
    return keepBetween(charBounds(m_text, length(), c).begin, 0, true, false);
}

GString& GString::ltrim(const char* set) {
    return keepBetween(setOrAllBounds(m_text, length(), set).begin, 0, true, false);
}

GString& GString::ltrim(CharPredicate matches) {
    return keepBetween(byteBounds(m_text, length(), matches).begin, 0, true, false);
}

GString& GString::rtrim(char c) {
    return keepBetween(0, charBounds(m_text, length(), c).end, false, true);
}

GString& GString::rtrim(const char* set) {
    return keepBetween(0, setOrAllBounds(m_text, length(), set).end, false, true);
}

GString& GString::rtrim(CharPredicate matches) {
    return keepBetween(0, byteBounds(m_text, length(), matches).end, false, true);
}

GString& GString::trim(char c) {
    const Bounds b = charBounds(m_text, length(), c);
    return keepBetween(b.begin, b.end, true, true);
}

GString& GString::trim(const char* set) {
    const Bounds b = setOrAllBounds(m_text, length(), set);
    return keepBetween(b.begin, b.end, true, true);
}

GString& GString::trim(CharPredicate matches) {
    const Bounds b = byteBounds(m_text, length(), matches);
    return keepBetween(b.begin, b.end, true, true);
}

// Case

GString& GString::toLower() {
    if (isEmpty())
        return *this;
    makeUnique(length(), length());
    ToLower(m_text);
    return *this;
}

GString& GString::toUpper() {
    if (isEmpty())
        return *this;
    makeUnique(length(), length());
    ToUpper(m_text);
    return *this;
}

char* GString::ToLower(char* text) noexcept {
    for (char* p = text; p != nullptr && *p != '\0'; ++p)
        *p = Utf8::toLower(*p);
    return text;
}

char* GString::ToUpper(char* text) noexcept {
    for (char* p = text; p != nullptr && *p != '\0'; ++p)
        *p = Utf8::toUpper(*p);
    return text;
}

// Segments: the scan alternates a run inside the set and a run outside it from position 0.

void GString::keepSegment(const char* set, unsigned n, bool including) {
    if (set == nullptr)
        set = "";
    auto inside = [set](const char* p) {
        return Utf8::span(p, set);
    };
    auto outside = [set](const char* p) {
        return Utf8::complementSpan(p, set);
    };
    std::size_t pos = 0;
    for (unsigned run = 0;; ++run) {
        const std::size_t runLength = including ? inside(m_text + pos) : outside(m_text + pos);
        if (run == n) {
            extract(static_cast<unsigned>(pos), static_cast<unsigned>(pos + runLength));
            return;
        }
        pos += runLength;
        pos += including ? outside(m_text + pos) : inside(m_text + pos);
        if (m_text[pos] == '\0') {
            empty();
            return;
        }
    }
}

GString& GString::segmentIncluding(const char* set, unsigned n) {
    keepSegment(set, n, true);
    return *this;
}

GString& GString::segmentIncluding(char c, unsigned n) {
    const char set[2] = {c, '\0'};
    return segmentIncluding(set, n);
}

GString& GString::segmentExcluding(const char* set, unsigned n) {
    keepSegment(set, n, false);
    return *this;
}

GString& GString::segmentExcluding(char c, unsigned n) {
    const char set[2] = {c, '\0'};
    return segmentExcluding(set, n);
}

GString GString::getSegmentIncluding(const char* set, unsigned n) const {
    return GString(*this).segmentIncluding(set, n);
}

GString GString::getSegmentIncluding(char c, unsigned n) const {
    return GString(*this).segmentIncluding(c, n);
}

GString GString::getSegmentExcluding(const char* set, unsigned n) const {
    return GString(*this).segmentExcluding(set, n);
}

GString GString::getSegmentExcluding(char c, unsigned n) const {
    return GString(*this).segmentExcluding(c, n);
}
