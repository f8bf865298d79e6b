#pragma once
// GMoverDropSource: drags a data object out of a window of this program. While the drag runs, a drop target of this
// program reaches the data object itself (every format, live models included) through CurrentData.

#include <wx/dnd.h>

class GMoverDropSource : public wxDropSource {
public:
    GMoverDropSource(wxWindow* window, wxDataObject& data);
    ~GMoverDropSource() override;

    // Runs the drag; the effect the target chose.
    wxDragResult drag(int flags = wxDrag_AllowMove);
    // The data of the drag this program runs now; null when there is none.
    static const wxDataObject* CurrentData();
};
