#include "Shell/GScenePrintout.h"

#include "Document/GKorvaneDoc.h"
#include "Drawing/GWxImage.h"

#include <wx/dc.h>

GScenePrintout::GScenePrintout(GKorvaneDoc* document)
    : wxPrintout(document != nullptr ? document->GetUserReadableName() : wxString("Korvane")), m_document(document) {}

void GScenePrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool GScenePrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (page != 1 || dc == nullptr || m_document == nullptr || m_document->getModel() == nullptr)
        return false;
    const GSprite picture = GKorvaneDoc::PrintableImage(*m_document->getModel());
    const wxRect area = GetLogicalPageRect();
    int screenX = 0, screenY = 0, printerX = 0, printerY = 0;
    GetPPIScreen(&screenX, &screenY);
    GetPPIPrinter(&printerX, &printerY);
    const RECT target = GKorvaneDoc::PrintRect(
        {picture.get_width(), picture.get_height()}, {screenX, screenY},
        {area.GetLeft(), area.GetTop(), area.GetRight() + 1, area.GetBottom() + 1}, {printerX, printerY});
    if (target.right <= target.left || target.bottom <= target.top)
        return false;
    wxImage scaled = GWxImage::FromDIB(picture);
    scaled.Rescale(target.right - target.left, target.bottom - target.top, wxIMAGE_QUALITY_HIGH);
    dc->DrawBitmap(wxBitmap(scaled), target.left, target.top);
    return true;
}
