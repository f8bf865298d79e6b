#include "Controls/GToolBarCtrl.h"

GToolBarCtrl::GToolBarCtrl(wxWindow* parent, int id, const wxPoint& position)
    : wxToolBar(parent, id, position, wxDefaultSize, wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER) {}

void GToolBarCtrl::addButton(int command, const wxBitmap& picture, const wxString& tip, bool dropDown) {
    if (GetToolsCount() == 0)
        SetToolBitmapSize(picture.GetSize());
    AddTool(command, tip, picture, tip, dropDown ? wxITEM_DROPDOWN : wxITEM_NORMAL);
}
