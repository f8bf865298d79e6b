#pragma once
// GMoverDropSource: drags a data object out of a window of this program. While the drag runs, a drop target of this
// program reaches the data object itself (every format, live models included) through CurrentData.

#include <wx/dnd.h>
#include <wx/image.h>

class GMoverDropSource : public wxDropSource {
public:
    GMoverDropSource(wxWindow* window, wxDataObject& data);
    ~GMoverDropSource() override;

    // The picture that follows the pointer while a copy or move is offered. The hot spot is the point of the
    // picture meant to be under the pointer; GTK puts the picture's corner there.
    void setDraggingImage(const wxImage& image, const wxPoint& hotSpot);
    wxPoint getDraggingHotSpot() const { return m_hotSpot; }
    // Runs the drag; the effect the target chose.
    wxDragResult drag(int flags = wxDrag_AllowMove);
    // The data of the drag this program runs now; null when there is none.
    static const wxDataObject* CurrentData();

private:
    wxPoint m_hotSpot;
};
