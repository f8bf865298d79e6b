#pragma once
// Scoped guards that restrict an image-processing image to a rectangle, a channel and a mask (and, for
// GIPL_ROIAndBorder, change its border handling), and put everything back when they go. Guards on one image
// must be nested.

#include "ipl/ipl.h"
#include "win/Win32Types.h"

// A channel of a 32-bit pixel 0xAARRGGBB by its bit position.
enum RGBAComponent { RGBA_Blue = 0, RGBA_Green = 8, RGBA_Red = 16, RGBA_Alpha = 24 };

class GIPL_ROI {
public:
    // The whole image, all channels; remembers the image's mask and alpha channel.
    explicit GIPL_ROI(IplImage* image);
    GIPL_ROI(IplImage* image, const RECT& rect);
    ~GIPL_ROI();
    GIPL_ROI(const GIPL_ROI&) = delete;
    GIPL_ROI& operator=(const GIPL_ROI&) = delete;

    // The rectangle, clipped to the image; a handled mask follows it.
    void set(const RECT& rect);
    void get(RECT& rect) const;
    void resetRect();
    bool isRectEmpty() const { return m_roi.width < 1 || m_roi.height < 1; }

    // The channel of interest (other values change nothing).
    void set(RGBAComponent component);
    // False when the image has no region of interest or all its channels take part.
    bool get(RGBAComponent& component) const;
    void resetComponent() { m_roi.coi = 0; }

    // A mask on the image (or none); a handled mask is aligned with the rectangle and released by the guard.
    void set(IplImage* mask, bool handled);
    void resetMask() { set(nullptr, true); }

    // The alpha channel is the image's last channel, or none.
    void setAlphaChannel();
    void resetAlphaChannel();

protected:
    IplImage* m_image;

private:
    void attachMask();

    IplROI m_roi{};
    IplROI m_maskRoi{};
    IplImage* m_savedMask;
    int m_savedAlpha;
    bool m_maskHandled = true;
};

class GIPL_ROIAndBorder : public GIPL_ROI {
public:
    explicit GIPL_ROIAndBorder(IplImage* image);
    ~GIPL_ROIAndBorder();

    void setBorderMode(int mode, int border, int constant);
    void resetBorderMode();

private:
    int m_savedModes[4];
    int m_savedConstants[4];
};
