#include "DragDrop/GMoverDropSource.h"

namespace {

const wxDataObject* current = nullptr;

} // namespace

GMoverDropSource::GMoverDropSource(wxWindow* window, wxDataObject& data) : wxDropSource(data, window) {}

GMoverDropSource::~GMoverDropSource() = default;

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
