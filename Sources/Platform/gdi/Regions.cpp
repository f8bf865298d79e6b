// Regions as lists of rectangles in the y-x banded form. Building one sweeps the rows from slab to slab (the rows
// between two consecutive rectangle edges), merges the spans of the rectangles over each slab, and lets a slab
// with the same spans as the one just above extend that band.

#include "gdi/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct Span {
    LONG left, right;
    bool operator==(const Span&) const = default;
};

// The spans of the rectangles, merged where they overlap or touch.
std::vector<Span> mergedSpans(const std::vector<const RECT*>& active) {
    std::vector<Span> spans;
    spans.reserve(active.size());
    for (const RECT* r : active)
        spans.push_back({r->left, r->right});
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::vector<Span> merged;
    for (const Span& s : spans)
        if (!merged.empty() && s.left <= merged.back().right)
            merged.back().right = std::max(merged.back().right, s.right);
        else
            merged.push_back(s);
    return merged;
}

class BandedBuilder {
public:
    // Adds the slab [top, bottom) with its spans, extending the band above when it meets it with equal spans.
    void add(LONG top, LONG bottom, const std::vector<Span>& spans) {
        if (spans.empty())
            return;
        if (m_bandBottom == top && spans == m_bandSpans) {
            for (std::size_t i = m_bandStart; i < m_rects.size(); ++i)
                m_rects[i].bottom = bottom;
        } else {
            m_bandStart = m_rects.size();
            for (const Span& s : spans)
                m_rects.push_back({s.left, top, s.right, bottom});
            m_bandSpans = spans;
        }
        m_bandBottom = bottom;
    }
    std::vector<RECT> take() { return std::move(m_rects); }

private:
    std::vector<RECT> m_rects;
    std::vector<Span> m_bandSpans;
    std::size_t m_bandStart = 0;
    LONG m_bandBottom = 0;
};

std::vector<RECT> bandedUnion(std::vector<RECT> rects) {
    std::erase_if(rects, [](const RECT& r) { return r.left >= r.right || r.top >= r.bottom; });
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    std::vector<LONG> edges;
    for (const RECT& r : rects) {
        edges.push_back(r.top);
        edges.push_back(r.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    BandedBuilder builder;
    std::vector<const RECT*> active;
    std::size_t next = 0;
    for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
        const LONG top = edges[k];
        std::erase_if(active, [top](const RECT* r) { return r->bottom <= top; });
        for (; next < rects.size() && rects[next].top == top; ++next)
            active.push_back(&rects[next]);
        builder.add(top, edges[k + 1], mergedSpans(active));
    }
    return builder.take();
}

RECT boundOf(const std::vector<RECT>& rects) {
    if (rects.empty())
        return {0, 0, 0, 0};
    RECT bound = rects.front();
    for (const RECT& r : rects) {
        bound.left = std::min(bound.left, r.left);
        bound.right = std::max(bound.right, r.right);
    }
    bound.bottom = rects.back().bottom;
    return bound;
}

} // namespace

HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
    if (xform != nullptr || data == nullptr || count < sizeof(RGNDATAHEADER) ||
        data->rdh.dwSize < sizeof(RGNDATAHEADER))
        return nullptr;
    const DWORD rectangles = data->rdh.nCount;
    if (rectangles > (count - sizeof(RGNDATAHEADER)) / sizeof(RECT))
        return nullptr;
    std::vector<RECT> rects(rectangles);
    if (rectangles > 0)
        std::memcpy(rects.data(), data->Buffer, rectangles * sizeof(RECT));
    auto region = std::make_unique<GdiRegion>();
    region->rects = bandedUnion(std::move(rects));
    region->bound = boundOf(region->rects);
    return region.release();
}

DWORD GetRegionData(HRGN region, DWORD count, RGNDATA* data) {
    if (region == nullptr)
        return 0;
    const auto bytes = static_cast<DWORD>(region->rects.size() * sizeof(RECT));
    const DWORD needed = sizeof(RGNDATAHEADER) + bytes;
    if (data == nullptr)
        return needed;
    if (count < needed)
        return 0;
    data->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(region->rects.size()), bytes, region->bound};
    if (bytes > 0)
        std::memcpy(data->Buffer, region->rects.data(), bytes);
    return needed;
}
