#include "Imaging/GIPL_ROI.h"

#include <algorithm>

GIPL_ROI::GIPL_ROI(IplImage* image)
    : m_image(image), m_savedMask(image != nullptr ? image->maskROI : nullptr),
      m_savedAlpha(image != nullptr ? image->alphaChannel : 0) {
    resetRect();
}

GIPL_ROI::GIPL_ROI(IplImage* image, const RECT& rect) : GIPL_ROI(image) {
    set(rect);
}

GIPL_ROI::~GIPL_ROI() {
    if (m_image == nullptr)
        return;
    m_image->roi = nullptr;
    if (m_maskHandled && m_image->maskROI != nullptr)
        m_image->maskROI->roi = nullptr;
    m_image->maskROI = m_savedMask;
    m_image->alphaChannel = m_savedAlpha;
}

void GIPL_ROI::set(const RECT& rect) {
    if (m_image == nullptr)
        return;
    const LONG left = std::clamp<LONG>(rect.left, 0, m_image->width);
    const LONG top = std::clamp<LONG>(rect.top, 0, m_image->height);
    const LONG right = std::clamp<LONG>(rect.right, left, m_image->width);
    const LONG bottom = std::clamp<LONG>(rect.bottom, top, m_image->height);
    m_roi.xOffset = left;
    m_roi.yOffset = top;
    m_roi.width = right - left;
    m_roi.height = bottom - top;
    attachMask();
    m_image->roi = &m_roi;
}

void GIPL_ROI::get(RECT& rect) const {
    rect = {m_roi.xOffset, m_roi.yOffset, m_roi.xOffset + m_roi.width, m_roi.yOffset + m_roi.height};
}

void GIPL_ROI::resetRect() {
    if (m_image != nullptr)
        set(RECT{0, 0, m_image->width, m_image->height});
}

void GIPL_ROI::set(RGBAComponent component) {
    switch (component) {
    case RGBA_Blue:
    case RGBA_Green:
    case RGBA_Red:
    case RGBA_Alpha:
        m_roi.coi = component / 8 + 1;
        break;
    default:
        break;
    }
}

bool GIPL_ROI::get(RGBAComponent& component) const {
    if (m_image == nullptr || m_image->roi == nullptr || m_image->roi->coi < 1 || m_image->roi->coi > 4)
        return false;
    component = static_cast<RGBAComponent>((m_image->roi->coi - 1) * 8);
    return true;
}

// A handled mask takes the rectangle (all channels) as its own region, so that it lines up with the image's.
void GIPL_ROI::attachMask() {
    IplImage* mask = m_image->maskROI;
    if (!m_maskHandled || mask == nullptr)
        return;
    m_maskRoi = m_roi;
    m_maskRoi.coi = 0;
    mask->roi = &m_maskRoi;
}

void GIPL_ROI::set(IplImage* mask, bool handled) {
    if (m_image == nullptr)
        return;
    if (m_maskHandled && m_image->maskROI != nullptr)
        m_image->maskROI->roi = nullptr;
    m_image->maskROI = mask;
    m_maskHandled = handled;
    attachMask();
}

void GIPL_ROI::setAlphaChannel() {
    if (m_image != nullptr)
        m_image->alphaChannel = m_image->nChannels;
}

void GIPL_ROI::resetAlphaChannel() {
    if (m_image != nullptr)
        m_image->alphaChannel = 0;
}

GIPL_ROIAndBorder::GIPL_ROIAndBorder(IplImage* image) : GIPL_ROI(image) {
    for (int side = 0; side < 4; ++side) {
        m_savedModes[side] = image != nullptr ? image->BorderMode[side] : 0;
        m_savedConstants[side] = image != nullptr ? image->BorderConst[side] : 0;
    }
}

GIPL_ROIAndBorder::~GIPL_ROIAndBorder() {
    resetBorderMode();
}

void GIPL_ROIAndBorder::setBorderMode(int mode, int border, int constant) {
    iplSetBorderMode(m_image, mode, border, constant);
}

void GIPL_ROIAndBorder::resetBorderMode() {
    if (m_image == nullptr)
        return;
    for (int side = 0; side < 4; ++side) {
        m_image->BorderMode[side] = m_savedModes[side];
        m_image->BorderConst[side] = m_savedConstants[side];
    }
}
