#pragma once
// GScenePrintout: the scene on one printed page, as large as the page allows with its proportions kept, centred.

#include <wx/print.h>

class GKorvaneDoc;

class GScenePrintout : public wxPrintout {
public:
    explicit GScenePrintout(GKorvaneDoc* document);

    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;

private:
    GKorvaneDoc* m_document;
};
