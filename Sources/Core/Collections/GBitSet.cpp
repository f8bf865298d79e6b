#include "Collections/GBitSet.h"

#include "Streams/InvalidPStream_Exception.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {

DWORD wordsFor(DWORD size) {
    return size / 32 + 1;
}

DWORD mask(DWORD i) {
    return 1u << (i % 32);
}

} // namespace

GBitSet::GBitSet(DWORD size)
    : m_size(std::max<DWORD>(size, 1)), m_words(std::make_unique<DWORD[]>(wordsFor(m_size))),
      m_wordCount(wordsFor(m_size)) {}

GBitSet::GBitSet(const GBitSet& other)
    : m_size(other.m_size), m_words(std::make_unique<DWORD[]>(other.m_wordCount)), m_wordCount(other.m_wordCount) {
    std::copy_n(other.m_words.get(), m_wordCount, m_words.get());
}

GBitSet& GBitSet::operator=(const GBitSet& other) {
    if (this != &other) {
        GBitSet copy(other);
        std::swap(m_size, copy.m_size);
        std::swap(m_words, copy.m_words);
        std::swap(m_wordCount, copy.m_wordCount);
    }
    return *this;
}

GBitSet::~GBitSet() = default;

void GBitSet::resize(DWORD n) {
    m_size = std::max<DWORD>(n, 1);
    const DWORD count = wordsFor(m_size);
    if (count == m_wordCount)
        return;
    auto words = std::make_unique<DWORD[]>(count);
    std::copy_n(m_words.get(), std::min(count, m_wordCount), words.get());
    m_words = std::move(words);
    m_wordCount = count;
}

void GBitSet::set(DWORD i, bool value) {
    const bool inside = i / 32 < m_wordCount;
    if (!value) {
        if (inside)
            m_words[i / 32] &= ~mask(i);
        return;
    }
    if (!inside)
        resize(i == ~DWORD{0} ? i : i + 1); // the largest index still fits a set of that size
    m_words[i / 32] |= mask(i);
}

GBitSet& GBitSet::operator+=(DWORD i) {
    set(i, true);
    return *this;
}

GBitSet& GBitSet::operator-=(DWORD i) {
    set(i, false);
    return *this;
}

void GBitSet::set_range(DWORD from, DWORD to, bool value) {
    for (DWORD i = from; i <= to; ++i) {
        set(i, value);
        if (i == to) // also ends the loop when `to` is the largest DWORD
            break;
    }
}

void GBitSet::enable_all() {
    std::fill_n(m_words.get(), m_wordCount, ~DWORD{0});
}

void GBitSet::disable_all() {
    std::fill_n(m_words.get(), m_wordCount, DWORD{0});
}

DWORD GBitSet::getEnabledCount() const {
    DWORD count = 0;
    for (DWORD w = 0; w < m_size / 32; ++w)
        count += static_cast<DWORD>(std::popcount(m_words[w]));
    if (const DWORD rest = m_size % 32)
        count += static_cast<DWORD>(std::popcount(m_words[m_size / 32] & (mask(rest) - 1)));
    return count;
}

DWORD GBitSet::getDisabledCount() const {
    return m_size - getEnabledCount();
}

bool GBitSet::isEmpty() const {
    return std::all_of(m_words.get(), m_words.get() + m_wordCount, [](DWORD w) { return w == 0; });
}

template <class Op>
GBitSet& GBitSet::combine(const GBitSet& other, Op op) {
    const DWORD common = std::min(m_wordCount, other.m_wordCount);
    for (DWORD w = 0; w < common; ++w)
        m_words[w] = op(m_words[w], other.m_words[w]);
    return *this;
}

GBitSet& GBitSet::operator+=(const GBitSet& other) {
    return *this |= other;
}

GBitSet& GBitSet::operator|=(const GBitSet& other) {
    return combine(other, [](DWORD a, DWORD b) { return a | b; });
}

GBitSet& GBitSet::operator-=(const GBitSet& other) {
    return combine(other, [](DWORD a, DWORD b) { return a & ~b; });
}

GBitSet& GBitSet::operator&=(const GBitSet& other) {
    return combine(other, [](DWORD a, DWORD b) { return a & b; });
}

GBitSet& GBitSet::operator^=(const GBitSet& other) {
    return combine(other, [](DWORD a, DWORD b) { return a ^ b; });
}

bool GBitSet::operator==(const GBitSet& other) const {
    return m_wordCount == other.m_wordCount &&
           std::equal(m_words.get(), m_words.get() + m_wordCount, other.m_words.get());
}

bool GBitSet::operator<=(const GBitSet& other) const {
    if (m_wordCount != other.m_wordCount)
        return false;
    for (DWORD w = 0; w < m_wordCount; ++w)
        if ((m_words[w] & ~other.m_words[w]) != 0)
            return false;
    return true;
}

std::ostream& operator<<(std::ostream& out, const GBitSet& bits) {
    for (DWORD i = 0; i < bits.m_size; ++i)
        out << (bits[i] ? '1' : '0');
    return out;
}

opstream& operator<<(opstream& stream, const GBitSet& bits) {
    stream.writeDWord(bits.m_size);
    stream.writeDWord(bits.m_wordCount);
    for (DWORD w = bits.m_wordCount; w-- > 0;)
        stream.writeDWord(bits.m_words[w]);
    return stream;
}

ipstream& operator>>(ipstream& stream, GBitSet& bits) {
    const long position = static_cast<long>(stream.countOfReadBytes());
    const DWORD size = stream.readDWord();
    const DWORD count = stream.readDWord();
    if (size == 0 || count != wordsFor(size))
        RaiseStreamError("Invalid bit set: %u bits in %u words. Position=%li", size, count, position);
    // Read word by word before anything is allocated for them: a count the data does not hold fails first.
    std::vector<DWORD> words;
    for (DWORD w = 0; w < count; ++w)
        words.push_back(stream.readDWord());
    auto stored = std::make_unique<DWORD[]>(count);
    std::reverse_copy(words.begin(), words.end(), stored.get());
    bits.m_size = size;
    bits.m_wordCount = count;
    bits.m_words = std::move(stored);
    return stream;
}
