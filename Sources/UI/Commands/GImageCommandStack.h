#pragma once
// GImageCommandStack: the document's undo or redo stack. It owns its commands; the top is the last one pushed.

#include "Collections/TGCollection.h"
#include "Commands/GImageCommand.h"

class GImageCommandStack : public TGCollection<GImageCommand> {
public:
    GImageCommandStack() : TGCollection<GImageCommand>(0, 16, true) {}

    void push(GImageCommand* command) { insert(command); }
    // The last command pushed, or null.
    GImageCommand* top() const { return empty() ? nullptr : at(getCount() - 1); }
    // Takes the top off without destroying it; null when empty.
    GImageCommand* pop();
    // Counts from the top: 0 is the top.
    GImageCommand* operator[](int i) const { return at(getCount() - 1 - i); }
    // Destroys every command.
    void clear() { GCollection::empty(); }
    int size() const { return getCount(); }
    bool empty() const { return getCount() == 0; }
    // Takes the bottom (oldest) command off without destroying it; null when empty.
    GImageCommand* popBottom();
};
