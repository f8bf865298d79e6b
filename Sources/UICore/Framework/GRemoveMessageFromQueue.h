#pragma once
// GRemoveMessageFromQueue: the events of one type still waiting in a window's queue (posted to it, not yet
// handled) taken out, so that a notice posted many times is handled once. Returns how many went.

#include <wx/event.h>

int GRemoveMessageFromQueue(wxEvtHandler& handler, wxEventType type);
