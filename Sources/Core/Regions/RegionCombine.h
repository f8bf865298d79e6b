#pragma once
// Set operations on band lists. The two lists are walked together, a result band starting wherever either
// operand's band does; inside a band the two x lists are merged with a two-bit state (bit 0: inside the first
// operand, bit 1: inside the second), and an x goes to the result where the operation's truth table over that
// state changes value. The cost is linear in the bands and x coordinates of both operands.

#include "Regions/RegionRecord.h"

#include <cstddef>

// Truth tables: bit s is the result for state s.
enum class RegionOp : unsigned {
    Union = 0b1110,
    Intersection = 0b1000,
    Difference = 0b0010,          // first minus second
    SymmetricDifference = 0b0110, // the same bands as (A | B) - (A & B), in one walk
};

// The result as a new record, null when it covers nothing.
RegionRecord* combineBands(const BandView& a, const BandView& b, RegionOp op);
// The same, given up (null, with `exceeded` set) as soon as the result would hold more than `maxXs` x coordinates:
// the size of a combination can be the product of its operands'.
RegionRecord* combineBandsWithin(const BandView& a, const BandView& b, RegionOp op, std::size_t maxXs, bool& exceeded);
// Whether the result would cover anything; stops at the first covered band.
bool combinesToAny(const BandView& a, const BandView& b, RegionOp op);
