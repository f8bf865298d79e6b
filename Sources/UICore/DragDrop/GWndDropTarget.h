#pragma once
// GWndDropTarget: makes a window a drop target. The window says what a drag over a point would do and takes the
// dropped data; while a drag hovers near an edge of the window, the window is asked to scroll that way.

#include <wx/dataobj.h>
#include <wx/dnd.h>

#include <functional>

class GWndDropTarget : public wxDropTarget {
public:
    struct Handlers {
        // The effect a drop at the point (window pixels) would have; wxDragNone refuses it.
        std::function<wxDragResult(wxPoint point, wxDragResult suggested)> dragOver;
        // Takes the data at the point; false when nothing was taken.
        std::function<bool(wxPoint point, const wxDataObject& data)> drop;
        // Scrolls the window by the distance (window pixels) while a drag hovers at its edge.
        std::function<void(wxPoint distance)> autoScroll;
    };

    // The formats the window takes, best first; the target owns the handlers, the window owns the target.
    GWndDropTarget(const std::vector<wxDataFormat>& formats, Handlers handlers);
    // Gives the window this target.
    void Register(wxWindow* window);

    // What a drop of the data at the point does: false when the window took nothing.
    bool drop(wxPoint at, const wxDataObject& data) const { return m_handlers.drop && m_handlers.drop(at, data); }

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult suggested) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested) override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult suggested) override;

private:
    wxDataObjectComposite* m_received; // owned by the base
    wxFileDataObject* m_files;         // owned by m_received
    Handlers m_handlers;
    wxWindow* m_window = nullptr;
};
