#include "Views/GKorvaneView.h"

#include "Application/GKorvaneApp.h"
#include "Clipboard/GDataObjectOffer.h"
#include "Clipboard/GKorvaneClipboard.h"
#include "Clipboard/GModelInsertion.h"
#include "Controls/GMenu.h"
#include "Document/GKorvaneDoc.h"
#include "DragDrop/GMoverDropSource.h"
#include "DragDrop/GWndDropTarget.h"
#include "Drawing/GFillSolidDifference.h"
#include "Drawing/GWxImage.h"
#include "Framework/GEventCmdUI.h"
#include "Framework/GOnMouseWheel.h"
#include "Preferences/GlobalColor.h"
#include "Shell/GMainFrame.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/region.h>

#include <algorithm>

namespace {

// The mouse buttons and keys held, as the contexts' flags count them.
UINT mouseFlags(const wxMouseEvent& event) {
    return (event.LeftIsDown() ? 0x1u : 0u) | (event.RightIsDown() ? 0x2u : 0u) | (event.ShiftDown() ? 0x4u : 0u) |
           (event.ControlDown() ? 0x8u : 0u) | (event.MiddleIsDown() ? 0x10u : 0u);
}

// Whether the main window's update handlers enable the command.
bool commandEnabled(UINT id) {
    wxWindow* frame = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    return frame == nullptr || GCommandEnabled(*frame, GKorvaneApp::MenuIdOf(id));
}

} // namespace

GKorvaneView::GKorvaneView(wxWindow* parent, GKorvaneDoc* document)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS), m_document(document),
      m_router(*document, commandEnabled), m_canvasDC(std::make_unique<GBitmapDC>(nullptr)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &GKorvaneView::onPaint, this);
    Bind(wxEVT_SIZE, &GKorvaneView::onSize, this);
    Bind(wxEVT_LEFT_DOWN, &GKorvaneView::onMouse, this);
    Bind(wxEVT_LEFT_UP, &GKorvaneView::onMouse, this);
    Bind(wxEVT_LEFT_DCLICK, &GKorvaneView::onMouse, this);
    Bind(wxEVT_RIGHT_DOWN, &GKorvaneView::onMouse, this);
    Bind(wxEVT_MOTION, &GKorvaneView::onMouse, this);
    Bind(wxEVT_LEAVE_WINDOW, &GKorvaneView::onMouse, this);
    Bind(wxEVT_MOUSEWHEEL, &GKorvaneView::onMouseWheel, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &GKorvaneView::onCaptureLost, this);
    Bind(wxEVT_CONTEXT_MENU, &GKorvaneView::onContextMenu, this);
    registerDropTarget();
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

void GKorvaneView::zoomBy(int num, int den) {
    constexpr double SmallestZoom = 1.0 / 16;
    constexpr double LargestZoom = 16;
    const GViewZoom current = getZoom();
    const double ratio = current.getRatio() * num / den;
    if (ratio < SmallestZoom || ratio > LargestZoom)
        return;
    const wxSize client = GetClientSize();
    POINT middle{client.x / 2, client.y / 2};
    DPtoLP(middle);
    fitImage(false);
    const GViewZoom zoom(current.numerator() * num, current.denominator() * den);
    setZoom(zoom);
    setScrollPosition({zoom.apply(middle.x) - client.x / 2, zoom.apply(middle.y) - client.y / 2});
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
        markStale({0, 0, m_geometry.sceneSize().cx, m_geometry.sceneSize().cy});
        Refresh(false);
    } else if (event.reason == GKorvaneDoc::Reason_ModelModified) {
        Update();
    }
}

void GKorvaneView::invalidateModelRect(RECT rect) {
    updateSceneSize();
    markStale(rect);
    refreshModelRect(rect);
}

void GKorvaneView::markStale(const RECT& rect) {
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    m_stale = m_stale.left >= m_stale.right
                  ? rect
                  : RECT{std::min(m_stale.left, rect.left), std::min(m_stale.top, rect.top),
                         std::max(m_stale.right, rect.right), std::max(m_stale.bottom, rect.bottom)};
}

void GKorvaneView::refreshModelRect(RECT rect) {
    m_geometry.LPtoDP(rect);
    // One pixel more on each side covers the rounding of a zoom.
    RefreshRect(wxRect(rect.left - 1, rect.top - 1, rect.right - rect.left + 2, rect.bottom - rect.top + 2), false);
}

void GKorvaneView::onSize(wxSizeEvent& event) {
    updateSceneSize();
    Refresh(false);
    event.Skip();
}

bool GKorvaneView::prepareCanvas() {
    updateSceneSize();
    const SIZE scene = m_geometry.sceneSize();
    if (scene.cx <= 0 || scene.cy <= 0)
        return false;
    if (m_canvas.get_width() != scene.cx || m_canvas.get_height() != scene.cy) {
        m_canvasDC = std::make_unique<GBitmapDC>(nullptr);
        m_canvas.resize(scene.cx, scene.cy);
        m_canvasDC->setBitmap(m_canvas.get_section());
        m_stale = {0, 0, scene.cx, scene.cy};
    }
    return true;
}

void GKorvaneView::drawScene() {
    if (!prepareCanvas() || m_stale.left >= m_stale.right || m_stale.top >= m_stale.bottom)
        return;
    // Only what changed is drawn again (a repaint costs what it shows); feedback drawn on the canvas stays until
    // the scene under it changes.
    const RECT stale{m_stale.left - 1, m_stale.top - 1, m_stale.right + 1, m_stale.bottom + 1};
    m_stale = {0, 0, 0, 0};
    m_document->onDraw(m_canvasDC->getDC(), &stale);
}

HDC GKorvaneView::feedbackDC() {
    drawScene();
    return prepareCanvas() ? m_canvasDC->getDC() : nullptr;
}

void GKorvaneView::paintArea(wxDC& dc, const wxRect& area) {
    const SIZE scene = m_geometry.sceneSize();
    RECT sceneRect{0, 0, scene.cx, scene.cy};
    m_geometry.LPtoDP(sceneRect);
    GFillSolidDifference(
        dc, area, wxRect(wxPoint(sceneRect.left, sceneRect.top), wxPoint(sceneRect.right - 1, sceneRect.bottom - 1)),
        GCompoundModel::BackgroundColor().getColour());
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
    if (!event.Leaving())
        updateCursor(point);
    event.Skip();
}

void GKorvaneView::updateCursor(POINT point) {
    HCURSOR cursor = m_router.setCursor(point);
    if (cursor == m_cursor && GetCursor().IsOk())
        return;
    m_cursor = cursor;
    SetCursor(GWxImage::CursorOf(cursor));
}

void GKorvaneView::onCaptureLost(wxMouseCaptureLostEvent&) {
    m_router.lButtonUp(0, m_lastPoint);
}

void GKorvaneView::onMouseWheel(wxMouseEvent& event) {
    constexpr int LinePixels = 16;
    const int height = GetClientSize().y;
    const GWheelScroll wheel = GOnMouseWheel(event);
    const int step = wheel.page ? wheel.lines * height : std::clamp(wheel.lines * LinePixels, -height, height);
    const POINT scroll = getScrollPosition();
    setScrollPosition({scroll.x, scroll.y + step});
}

void GKorvaneView::onContextMenu(wxContextMenuEvent& event) {
    GCompoundModel* root = m_document->getModel();
    if (HasCapture() || root == nullptr)
        return;
    const wxSize client = GetClientSize();
    const wxPoint at = event.GetPosition() == wxDefaultPosition ? wxPoint(client.x / 2, client.y / 2)
                                                                : ScreenToClient(event.GetPosition());
    POINT point{at.x, at.y};
    DPtoLP(point);
    GCompoundModel* hit = root->findImageUnderCursor(GPoint(point.x, point.y));
    if (hit == nullptr)
        return;
    std::unique_ptr<wxMenu> menu(GMainFrame::buildMenu(hit == root ? "Menus\\Background" : "Menus\\Object"));
    m_document->setWorkingModel(hit);
    GMenu::TrackPopupMenu(*menu, *this, at);
    m_document->setWorkingModel(nullptr);
}

void GKorvaneView::registerDropTarget() {
    GWndDropTarget::Handlers handlers;
    handlers.dragOver = [this](wxPoint at, wxDragResult) {
        return dragEffect(at);
    };
    handlers.drop = [this](wxPoint at, const wxDataObject& data) {
        return dropData(at, data);
    };
    handlers.autoScroll = [this](wxPoint distance) {
        const POINT scroll = getScrollPosition();
        setScrollPosition({scroll.x + distance.x, scroll.y + distance.y});
    };
    auto* target = new GWndDropTarget({GKorvaneClipboard::ModelsFormat(), GKorvaneClipboard::PictureFormat()},
                                      std::move(handlers));
    target->Register(this);
}

bool GKorvaneView::insideScene(wxPoint at) const {
    POINT point{at.x, at.y};
    DPtoLP(point);
    const SIZE scene = m_geometry.sceneSize();
    return point.x >= 0 && point.y >= 0 && point.x < scene.cx && point.y < scene.cy;
}

wxDragResult GKorvaneView::dragEffect(wxPoint at) const {
    if (!insideScene(at))
        return wxDragNone;
    const wxDataObject* own = GMoverDropSource::CurrentData();
    return own != nullptr && GKorvaneClipboard::IsModelsAttached(GDataObjectOffer(*own)) ? wxDragMove : wxDragCopy;
}

bool GKorvaneView::dropData(wxPoint at, const wxDataObject& data) {
    if (!insideScene(at))
        return false;
    POINT point{at.x, at.y};
    DPtoLP(point);
    const GDataObjectOffer offer(data);
    return GModelInsertion::Insert(offer, point, GKorvaneClipboard::IsModelsAttached(offer)) > 0;
}
