#include "Shell/GButtonArt.h"

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/pen.h>

#include <cstring>
#include <memory>

namespace {

using Glyph = void (*)(wxGraphicsContext& gc);

// Glyphs on a 30 x 30 plate, centred on (15, 15).
void newScene(wxGraphicsContext& gc) {
    wxGraphicsPath page = gc.CreatePath();
    page.MoveToPoint(9, 7);
    page.AddLineToPoint(17, 7);
    page.AddLineToPoint(21, 11);
    page.AddLineToPoint(21, 23);
    page.AddLineToPoint(9, 23);
    page.CloseSubpath();
    page.MoveToPoint(17, 7);
    page.AddLineToPoint(17, 11);
    page.AddLineToPoint(21, 11);
    gc.StrokePath(page);
}

void arrow(wxGraphicsContext& gc, bool backwards) {
    const double s = backwards ? 1 : -1; // undo points left, redo right
    wxGraphicsPath path = gc.CreatePath();
    path.MoveToPoint(15 + s * 6, 21);
    path.AddCurveToPoint(15 - s * 8, 23, 15 - s * 8, 10, 15 + s * -1, 10);
    path.AddLineToPoint(15 + s * -6, 10);
    path.MoveToPoint(15 + s * -3, 6.5);
    path.AddLineToPoint(15 + s * -6.5, 10);
    path.AddLineToPoint(15 + s * -3, 13.5);
    gc.StrokePath(path);
}

void undo(wxGraphicsContext& gc) {
    arrow(gc, true);
}

void redo(wxGraphicsContext& gc) {
    arrow(gc, false);
}

// Four arrows out of the middle: the scene moves any way.
void pan(wxGraphicsContext& gc) {
    constexpr double Lines[][6] = {{15, 7, 15, 23, 15, 23},  {7, 15, 23, 15, 23, 15}, {12, 10, 15, 7, 18, 10},
                                   {12, 20, 15, 23, 18, 20}, {10, 12, 7, 15, 10, 18}, {20, 12, 23, 15, 20, 18}};
    wxGraphicsPath path = gc.CreatePath();
    for (const auto& line : Lines) {
        path.MoveToPoint(line[0], line[1]);
        path.AddLineToPoint(line[2], line[3]);
        path.AddLineToPoint(line[4], line[5]);
    }
    gc.StrokePath(path);
}

// A framed landscape: the background.
void background(wxGraphicsContext& gc) {
    gc.StrokeLine(8, 9, 22, 9);
    wxGraphicsPath path = gc.CreatePath();
    path.AddRectangle(8, 9, 14, 12);
    path.MoveToPoint(8, 19);
    path.AddLineToPoint(13, 13);
    path.AddLineToPoint(16, 16);
    path.AddLineToPoint(18, 14);
    path.AddLineToPoint(22, 19);
    gc.StrokePath(path);
}

struct Art {
    const char* name;
    Glyph glyph;
};
constexpr Art Arts[] = {{"NewImageCommand", newScene},
                        {"UndoImageCommand", undo},
                        {"RedoImageCommand", redo},
                        {"PanImageContext", pan},
                        {"SelectBackgroundCommand", background}};

wxColour plateColour(GBitmapButton::State state) {
    switch (state) {
    case GBitmapButton::Pressed:
        return {30, 34, 44};
    case GBitmapButton::Current:
        return {84, 96, 122};
    default:
        return {60, 68, 86};
    }
}

} // namespace

wxBitmap GButtonArt::Button(const wxString& name, GBitmapButton::State state) {
    const Art* art = nullptr;
    for (const Art& candidate : Arts)
        if (name == candidate.name)
            art = &candidate;
    if (art == nullptr)
        return wxNullBitmap;
    wxImage picture(Size, Size);
    picture.InitAlpha();
    std::memset(picture.GetAlpha(), 0, Size * Size);
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(picture));
        gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
        gc->SetPen(wxPen(wxColour(12, 14, 18), 1));
        gc->SetBrush(wxBrush(plateColour(state)));
        gc->DrawEllipse(1, 1, Size - 3, Size - 3);
        const bool disabled = state == GBitmapButton::Disabled;
        gc->SetPen(wxPen(disabled ? wxColour(110, 116, 130) : wxColour(226, 232, 244), 2));
        gc->SetBrush(*wxTRANSPARENT_BRUSH);
        if (state == GBitmapButton::Pressed)
            gc->Translate(0.5, 1);
        art->glyph(*gc);
    }
    return wxBitmap(picture);
}
