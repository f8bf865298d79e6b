#include "Regions/RegionBuilder.h"

#include <algorithm>
#include <cstring>

namespace {

struct Scratch {
    std::vector<RegionBand> bands;
    std::vector<std::int32_t> xs;
};

Scratch& scratch() {
    thread_local Scratch space;
    return space;
}

} // namespace

RegionBuilder::RegionBuilder() : m_bands(scratch().bands), m_xs(scratch().xs) {
    m_bands.clear();
}

std::int32_t* RegionBuilder::reserve(int n) {
    if (m_xs.size() < m_xCount + static_cast<std::size_t>(n))
        m_xs.resize(std::max(m_xCount + static_cast<std::size_t>(n), 2 * m_xs.size()));
    return m_xs.data() + m_xCount;
}

void RegionBuilder::addBand(std::int32_t y, int xCount) {
    if (xCount == 0 && (m_bands.empty() || lastIsEmpty()))
        return;
    m_bands.push_back({y, static_cast<std::int32_t>(m_xCount)});
    m_xCount += static_cast<std::size_t>(xCount);
}

RegionRecord* RegionBuilder::finish() {
    if (m_bands.empty())
        return nullptr;
    RegionRecord* record = RegionRecord::create(static_cast<int>(m_bands.size()), static_cast<int>(m_xCount));
    std::memcpy(record->bands(), m_bands.data(), sizeof(RegionBand) * m_bands.size());
    record->bands()[m_bands.size()] = {0, static_cast<std::int32_t>(m_xCount)};
    std::memcpy(record->xs(), m_xs.data(), sizeof(std::int32_t) * m_xCount);
    record->computeBounds();
    return record;
}
