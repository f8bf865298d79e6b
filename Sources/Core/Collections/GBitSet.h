#pragma once
// GBitSet: a growable set of bits held in 32-bit words. A set of `size` bits has size / 32 + 1 words; bit i is
// bit i % 32 of word i / 32.

#include "win/Win32Types.h"

#include <memory>
#include <ostream>

class ipstream;
class opstream;

class GBitSet {
public:
    GBitSet() : GBitSet(1) {}
    // 0 becomes 1.
    explicit GBitSet(DWORD size);
    GBitSet(const GBitSet& other);
    GBitSet& operator=(const GBitSet& other);
    ~GBitSet();

    DWORD getSize() const { return m_size; }
    DWORD getWordCount() const { return m_wordCount; }
    // The size becomes max(n, 1); common words are kept.
    void resize(DWORD n);

    // Bit i; i within the words is the caller's to respect.
    bool operator[](DWORD i) const { return (m_words[i / 32] >> (i % 32) & 1u) != 0; }
    // Setting a bit beyond the words first grows the set to i + 1 bits; clearing one there changes nothing.
    void set(DWORD i, bool value);
    GBitSet& operator+=(DWORD i);
    GBitSet& operator-=(DWORD i);
    void set_range(DWORD from, DWORD to, bool value);
    void enable_all();
    void disable_all();
    DWORD getEnabledCount() const;
    DWORD getDisabledCount() const;
    bool isEmpty() const;

    // Word-wise operations over the words both sets have; the left set keeps its size.
    GBitSet& operator+=(const GBitSet& other);
    GBitSet& operator|=(const GBitSet& other);
    GBitSet& operator-=(const GBitSet& other);
    GBitSet& operator&=(const GBitSet& other);
    GBitSet& operator^=(const GBitSet& other);
    GBitSet operator+(const GBitSet& other) const { return GBitSet(*this) += other; }
    GBitSet operator|(const GBitSet& other) const { return GBitSet(*this) |= other; }
    GBitSet operator-(const GBitSet& other) const { return GBitSet(*this) -= other; }
    GBitSet operator&(const GBitSet& other) const { return GBitSet(*this) &= other; }
    GBitSet operator^(const GBitSet& other) const { return GBitSet(*this) ^= other; }

    // Equal word counts and words; the sizes are not compared.
    bool operator==(const GBitSet& other) const;
    // Subset: equal word counts and no bit of this set outside the other.
    bool operator<=(const GBitSet& other) const;
    bool operator>=(const GBitSet& other) const { return other <= *this; }
    bool operator<(const GBitSet& other) const { return *this <= other && !(*this == other); }
    bool operator>(const GBitSet& other) const { return other < *this; }

    // Size, word count, then the words from the last to the first. Reading rejects a word count that does not
    // match the size.
    friend opstream& operator<<(opstream& stream, const GBitSet& bits);
    friend ipstream& operator>>(ipstream& stream, GBitSet& bits);

    // One '0' or '1' per bit, from bit 0 to bit size - 1.
    friend std::ostream& operator<<(std::ostream& out, const GBitSet& bits);

private:
    template <class Op>
    GBitSet& combine(const GBitSet& other, Op op);

    DWORD m_size;
    std::unique_ptr<DWORD[]> m_words;
    DWORD m_wordCount;
};
