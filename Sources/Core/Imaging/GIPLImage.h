#pragma once
// GIPLImage: an image of the image-processing library. It holds one image header and knows whether the library
// allocated the pixels (then it frees them) or the pixels belong to someone else (a DIB section, another
// image). PutImage lays one image over another for the whole system.

#include "Imaging/GIPLCompositionMode.h"
#include "Streams/GStreamable.h"
#include "ipl/ipl.h"
#include "win/Win32Types.h"

class GIPLImage : public GStreamable {
    G_CLASS(GIPLImage)

    // One-bit bitmap, 8-bit grey, 24-bit colour, 32-bit colour with alpha.
    enum ColorModel { Bitmap = 0, Grey = 1, Colour = 2, ColourAlpha = 3 };

    GIPLImage() = default;
    GIPLImage(const GIPLImage& other);
    GIPLImage& operator=(const GIPLImage& other);
    ~GIPLImage() override;

    int get_width() const { return m_image != nullptr ? m_image->width : 0; }
    int get_height() const { return m_image != nullptr ? m_image->height : 0; }
    bool is_empty() const { return m_image == nullptr; }
    ColorModel get_color_model() const;
    // The image header; null when the image is empty.
    IplImage* get_image() const { return m_image; }

    // A new image whose pixels the library allocates (not filled).
    virtual void allocate_image(int width, int height, ColorModel model, int depth);
    virtual void free_image();
    // Becomes a view that shares the pixels of `source` (or an empty image for null).
    virtual void attach_pixels(const IplImage* source);
    void pixels_from_IPL(bool fromIPL) { m_pixelsFromIPL = fromIPL; }

    // A version byte only: pixels are the business of derived classes.
    void read(ipstream& stream) override;
    void write(opstream& stream) const override;

    // Lays `source` with its top-left corner at `position` over `destination`, within `clip` (destination
    // coordinates) when given, through the masks when given: a copy for mode type -1, else alpha compositing
    // with the images' last channels as alpha. Null images or no common area do nothing.
    static void PutImage(const RECT* clip, IplImage* destination, IplImage* destinationMask, POINT position,
                         IplImage* source, IplImage* sourceMask, const GIPLCompositionMode& mode);

protected:
    // A header of the given model over the caller's pixels (both the data pointer and its origin).
    void attach_image(int width, int height, void* pixels, ColorModel model, int depth);
    static IplImage* allocate_header(int width, int height, ColorModel model, int depth, bool quadAligned);

private:
    IplImage* m_image = nullptr;
    bool m_pixelsFromIPL = true;
};
