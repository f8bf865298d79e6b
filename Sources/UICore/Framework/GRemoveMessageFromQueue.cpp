#include "Framework/GRemoveMessageFromQueue.h"

#include <wx/app.h>

namespace {

// The handler's queue and its lock, reached through members of the handler class itself.
struct QueueAccess : wxEvtHandler {
    static constexpr auto Pending = &QueueAccess::m_pendingEvents;
    static constexpr auto Lock = &QueueAccess::m_pendingEventsLock;
};

} // namespace

int GRemoveMessageFromQueue(wxEvtHandler& handler, wxEventType type) {
    int removed = 0;
    bool emptied = false;
    {
        wxCriticalSectionLocker locker(handler.*QueueAccess::Lock);
        wxList* pending = handler.*QueueAccess::Pending;
        if (pending == nullptr)
            return 0;
        for (wxList::compatibility_iterator node = pending->GetFirst(); node;) {
            const wxList::compatibility_iterator next = node->GetNext();
            auto* event = static_cast<wxEvent*>(node->GetData());
            if (event->GetEventType() == type) {
                delete event;
                pending->Erase(node);
                ++removed;
            }
            node = next;
        }
        emptied = removed > 0 && pending->IsEmpty();
    }
    // A handler with nothing queued must not stay on the application's list of handlers to serve.
    if (emptied && wxTheApp != nullptr)
        wxTheApp->RemovePendingEventHandler(&handler);
    return removed;
}
