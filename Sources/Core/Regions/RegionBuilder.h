#pragma once
// Builds a band list from the top down into scratch space and hands it over as one pooled record. Leading empty
// bands are not kept and an empty band after an empty one adds nothing, so a region starts with its first
// covered row and ends with one bottom edge.

#include "Regions/RegionRecord.h"

#include <cstdint>
#include <vector>

class RegionBuilder {
public:
    // The scratch space is the calling thread's; one builder per thread at a time.
    RegionBuilder();

    // Room for n x coordinates of the next band; the band is added by addBand with the number written.
    std::int32_t* reserve(int n);
    void addBand(std::int32_t y, int xCount);
    bool hasBands() const { return !m_bands.empty(); }

    // The record (null when no band covers anything). The last band added must be empty.
    RegionRecord* finish();

private:
    bool lastIsEmpty() const { return m_bands.back().firstX == static_cast<std::int32_t>(m_xCount); }

    std::vector<RegionBand>& m_bands;
    std::vector<std::int32_t>& m_xs;
    std::size_t m_xCount = 0;
};
