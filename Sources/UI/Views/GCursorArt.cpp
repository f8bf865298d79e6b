#include "Views/GCursorArt.h"

#include "Drawing/GWxImage.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <utility>

HCURSOR GCursorArt::Pan() {
    constexpr double C = Size / 2.0; // the middle
    constexpr double Reach = 10.5;   // from the middle to a tip
    constexpr double Head = 4.5;     // an arrowhead's length
    constexpr double HeadHalf = 5;   // and half its width
    constexpr double ShaftHalf = 2;  // half a shaft's width
    wxImage picture(Size, Size);
    picture.InitAlpha();
    std::memset(picture.GetAlpha(), 0, Size * Size);
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(picture));
        wxGraphicsPath path = gc->CreatePath();
        // One arm of the cross, turned four times around the middle: (along, across) from the middle.
        const double arm[][2] = {{ShaftHalf, -ShaftHalf},   {Reach - Head, -ShaftHalf},
                                 {Reach - Head, -HeadHalf}, {Reach, 0},
                                 {Reach - Head, HeadHalf},  {Reach - Head, ShaftHalf}};
        bool first = true;
        for (int turn = 0; turn < 4; ++turn)
            for (const auto& point : arm) {
                // Turning by quarters: (x, y) -> (-y, x).
                double x = point[0];
                double y = point[1];
                for (int k = 0; k < turn; ++k)
                    std::tie(x, y) = std::pair(-y, x);
                if (first)
                    path.MoveToPoint(C + x, C + y);
                else
                    path.AddLineToPoint(C + x, C + y);
                first = false;
            }
        path.CloseSubpath();
        gc->SetPen(wxPen(wxColour(16, 18, 24), 1));
        gc->SetBrush(*wxWHITE_BRUSH);
        gc->DrawPath(path);
    }
    HBITMAP image = GWxImage::ToBitmap(picture);
    return image != nullptr ? new GdiCursor{image, {Size / 2, Size / 2}} : nullptr;
}
