#include "Regions/RegionRecord.h"

#include "Memory/gmempool.h"

#include <algorithm>
#include <cstring>
#include <new>

RegionRecord* RegionRecord::create(int bandCount, int xCount) {
    const std::size_t size = sizeof(RegionRecord) + sizeof(RegionBand) * (static_cast<std::size_t>(bandCount) + 1) +
                             sizeof(std::int32_t) * static_cast<std::size_t>(xCount);
    void* block = gmempool_alloc(nullptr, size);
    if (block == nullptr)
        throw std::bad_alloc();
    auto* record = new (block) RegionRecord;
    record->bandCount = bandCount;
    record->xCount = xCount;
    return record;
}

void RegionRecord::destroy(RegionRecord* record) {
    record->dropHandle();
    record->~RegionRecord();
    gmempool_free(nullptr, record);
}

RegionRecord* RegionRecord::copy() const {
    RegionRecord* twin = create(bandCount, xCount);
    std::memcpy(twin->bands(), bands(), sizeof(RegionBand) * (static_cast<std::size_t>(bandCount) + 1));
    std::memcpy(twin->xs(), xs(), sizeof(std::int32_t) * static_cast<std::size_t>(xCount));
    twin->bounds = bounds;
    return twin;
}

void RegionRecord::dropHandle() {
    if (handle != nullptr)
        DeleteObject(handle);
    handle = nullptr;
}

void RegionRecord::computeBounds() {
    const RegionBand* b = bands();
    const std::int32_t* x = xs();
    bounds = {0, b[0].y, 0, b[bandCount - 1].y};
    bool first = true;
    for (int i = 0; i + 1 < bandCount; ++i) {
        if (b[i + 1].firstX == b[i].firstX)
            continue;
        const std::int32_t left = x[b[i].firstX], right = x[b[i + 1].firstX - 1];
        bounds.left = first ? left : std::min(bounds.left, left);
        bounds.right = first ? right : std::max(bounds.right, right);
        first = false;
    }
}

int BandView::bandAt(std::int32_t row) const {
    if (count == 0 || row < bands[0].y || row >= bands[count - 1].y)
        return -1;
    const RegionBand* after =
        std::upper_bound(bands, bands + count, row, [](std::int32_t r, const RegionBand& b) { return r < b.y; });
    return static_cast<int>(after - bands) - 1;
}
