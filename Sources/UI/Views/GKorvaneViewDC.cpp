#include "Views/GKorvaneViewDC.h"

#include "Document/GKorvaneDoc.h"
#include "Views/GKorvaneView.h"

#include <algorithm>

GKorvaneViewDC::GKorvaneViewDC() : GKorvaneViewDC(GKorvaneDoc::GetActiveView()) {}

GKorvaneViewDC::GKorvaneViewDC(GKorvaneView* view)
    : m_view(view), m_dc(view != nullptr ? view->feedbackDC() : nullptr) {}

GKorvaneViewDC::~GKorvaneViewDC() {
    if (m_view == nullptr || m_dc == nullptr)
        return;
    if (!m_narrowed) {
        m_view->Refresh(false);
        return;
    }
    // A line's width may reach a pixel beyond what the tool named.
    m_view->refreshModelRect({m_touched.left - 1, m_touched.top - 1, m_touched.right + 1, m_touched.bottom + 1});
}

void GKorvaneViewDC::touched(const RECT& rect) {
    m_touched = m_narrowed ? RECT{std::min(m_touched.left, rect.left), std::min(m_touched.top, rect.top),
                                  std::max(m_touched.right, rect.right), std::max(m_touched.bottom, rect.bottom)}
                           : rect;
    m_narrowed = true;
}
