#include "Views/GKorvaneView.h"

#include "Document/GKorvaneDoc.h"
#include "Preferences/GlobalColor.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/region.h>

#include <algorithm>

wxBEGIN_EVENT_TABLE(GKorvaneView, wxWindow) EVT_PAINT(GKorvaneView::onPaint) EVT_SIZE(GKorvaneView::onSize)
    EVT_MOUSE_EVENTS(GKorvaneView::onMouse) EVT_MOUSE_CAPTURE_LOST(GKorvaneView::onCaptureLost) wxEND_EVENT_TABLE()

        namespace {

    // The mouse buttons and keys held, as the contexts' flags count them.
    UINT mouseFlags(const wxMouseEvent& event) {
        return (event.LeftIsDown() ? 0x1u : 0u) | (event.RightIsDown() ? 0x2u : 0u) | (event.ShiftDown() ? 0x4u : 0u) |
               (event.ControlDown() ? 0x8u : 0u) | (event.MiddleIsDown() ? 0x10u : 0u);
    }

    wxColour backgroundColour() {
        const COLORREF colour = GCompoundModel::BackgroundColor().getColor();
        return {static_cast<unsigned char>(colour & 0xFF), static_cast<unsigned char>(colour >> 8 & 0xFF),
                static_cast<unsigned char>(colour >> 16 & 0xFF)};
    }

} // namespace

GKorvaneView::GKorvaneView(wxWindow* parent, GKorvaneDoc* document)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS), m_document(document),
      m_router(*document), m_canvasDC(std::make_unique<GBitmapDC>(nullptr)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    GKorvaneDoc::RegisterCallback(*this);
    GCompoundModel::RegisterCallback(*this);
    updateSceneSize();
}

GKorvaneView::~GKorvaneView() {
    GCompoundModel::UnRegisterCallback(*this);
    GKorvaneDoc::UnRegisterCallback(*this);
}

void GKorvaneView::setZoom(const GViewZoom& zoom) {
    if (m_geometry.setZoom(zoom))
        Refresh(false);
}

void GKorvaneView::fitImage(bool on) {
    if (m_geometry.fitImage(on))
        Refresh(false);
}

void GKorvaneView::setScrollPosition(POINT position) {
    const POINT moved = m_geometry.setScrollPosition(position);
    if (moved.x != 0 || moved.y != 0)
        Refresh(false);
}

void GKorvaneView::updateSceneSize() {
    const GCompoundModel* model = m_document != nullptr ? m_document->getModel() : nullptr;
    m_geometry.setSceneSize(model != nullptr ? SIZE{model->get_width(), model->get_height()} : SIZE{0, 0});
    const wxSize client = GetClientSize();
    m_geometry.setClientSize({client.x, client.y});
}

void GKorvaneView::callbackReceived(GCallbackEvent& event) {
    if (event.reason == GCompoundModel::Reason_ModelInvalidated) {
        auto& info = static_cast<GCompoundModel::InvalidatedInfo&>(event);
        if (m_document->getModel() != nullptr && info.model->getRoot() == m_document->getModel())
            invalidateModelRect(m_document->calculateGlobalRect(info.model, info.rect));
    } else if (event.reason == GKorvaneDoc::Reason_ModelLoaded &&
               static_cast<GKorvaneDoc::DocumentInfo&>(event).document == m_document) {
        m_geometry.setZoom(GViewZoom());
        m_geometry.setScrollPosition({0, 0});
        updateSceneSize();
        Refresh(false);
    } else if (event.reason == GKorvaneDoc::Reason_ModelModified) {
        Update();
    }
}

void GKorvaneView::invalidateModelRect(RECT rect) {
    updateSceneSize();
    m_geometry.LPtoDP(rect);
    // One pixel more on each side covers the rounding of a zoom.
    RefreshRect(wxRect(rect.left - 1, rect.top - 1, rect.right - rect.left + 2, rect.bottom - rect.top + 2), false);
}

void GKorvaneView::onSize(wxSizeEvent& event) {
    updateSceneSize();
    Refresh(false);
    event.Skip();
}

void GKorvaneView::drawScene() {
    updateSceneSize();
    const SIZE scene = m_geometry.sceneSize();
    if (scene.cx <= 0 || scene.cy <= 0)
        return;
    if (m_canvas.get_width() != scene.cx || m_canvas.get_height() != scene.cy) {
        m_canvasDC = std::make_unique<GBitmapDC>(nullptr);
        m_canvas.resize(scene.cx, scene.cy);
        m_canvasDC->setBitmap(m_canvas.get_section());
    }
    m_document->onDraw(m_canvasDC->getDC(), nullptr);
}

void GKorvaneView::paintArea(wxDC& dc, const wxRect& area) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(backgroundColour()));
    dc.DrawRectangle(area);
    const SIZE scene = m_geometry.sceneSize();
    RECT model{area.GetLeft(), area.GetTop(), area.GetRight() + 1, area.GetBottom() + 1};
    m_geometry.DPtoLP(model);
    model = {std::max(model.left - 1, 0), std::max(model.top - 1, 0), std::min(model.right + 1, scene.cx),
             std::min(model.bottom + 1, scene.cy)};
    if (model.left >= model.right || model.top >= model.bottom || m_canvas.get_width() != scene.cx)
        return;
    wxImage part(model.right - model.left, model.bottom - model.top, false);
    unsigned char* rgb = part.GetData();
    for (int y = model.top; y < model.bottom; ++y) {
        const DWORD* row = m_canvas.get_line_address(y);
        for (int x = model.left; x < model.right; ++x) {
            const DWORD pixel = row[x];
            *rgb++ = static_cast<unsigned char>(pixel >> 16);
            *rgb++ = static_cast<unsigned char>(pixel >> 8);
            *rgb++ = static_cast<unsigned char>(pixel);
        }
    }
    RECT window = model;
    m_geometry.LPtoDP(window);
    if (m_geometry.getZoom() != GViewZoom())
        part.Rescale(std::max(window.right - window.left, 1), std::max(window.bottom - window.top, 1),
                     wxIMAGE_QUALITY_NEAREST);
    dc.DrawBitmap(wxBitmap(part), window.left, window.top);
}

void GKorvaneView::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    drawScene();
    for (wxRegionIterator area(GetUpdateRegion()); area; ++area)
        paintArea(dc, area.GetRect());
}

wxImage GKorvaneView::renderImage() {
    const wxSize client = GetClientSize();
    wxBitmap picture(std::max(client.x, 1), std::max(client.y, 1));
    {
        wxMemoryDC dc(picture);
        drawScene();
        paintArea(dc, wxRect(client));
    }
    return picture.ConvertToImage();
}

void GKorvaneView::onMouse(wxMouseEvent& event) {
    POINT point{event.GetX(), event.GetY()};
    m_geometry.DPtoLP(point);
    m_lastPoint = point;
    const UINT flags = mouseFlags(event);
    if (event.Leaving()) {
        m_router.mouseLeave();
    } else if (event.LeftDown()) {
        SetFocus();
        if (!HasCapture())
            CaptureMouse();
        m_router.lButtonDown(flags, point);
    } else if (event.LeftUp()) {
        if (HasCapture())
            ReleaseMouse();
        m_router.lButtonUp(flags, point);
    } else if (event.LeftDClick()) {
        m_router.lButtonDblClk(flags, point);
    } else if (event.RightDown()) {
        m_router.rButtonDown(flags, point);
    } else if (event.Moving() || event.Dragging()) {
        m_router.mouseMove(flags, point);
    }
    event.Skip();
}

void GKorvaneView::onCaptureLost(wxMouseCaptureLostEvent&) {
    m_router.lButtonUp(0, m_lastPoint);
}
