#include "DragDrop/GMoverDropSource.h"

namespace {

const wxDataObject* current = nullptr;

} // namespace

GMoverDropSource::GMoverDropSource(wxWindow* window, wxDataObject& data) : wxDropSource(data, window) {}

GMoverDropSource::~GMoverDropSource() = default;

void GMoverDropSource::setDraggingImage(const wxImage& image, const wxPoint& hotSpot) {
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    SetIcon(wxDragCopy, icon);
    SetIcon(wxDragMove, icon);
    m_hotSpot = hotSpot;
}

wxDragResult GMoverDropSource::drag(int flags) {
    const wxDataObject* outer = current;
    current = GetDataObject();
    const wxDragResult result = DoDragDrop(flags);
    current = outer;
    return result;
}

const wxDataObject* GMoverDropSource::CurrentData() {
    return current;
}
