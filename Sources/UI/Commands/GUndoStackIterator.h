#pragma once
// GUndoStackIterator: walks the active document's undo stack from the top down to the last command of a class
// that changed only the models of interest, and stops at the first command that also changed another model.
// Editor contexts use it to continue their own last command instead of starting a new undo step.

#include "Collections/TGSortedCollection.h"

class GCompoundModel;
class GImageCommand;
class GImageCommandStack;
class GMetaClass;

class GUndoStackIterator {
public:
    // The models `start` changed, of `start`'s class; `start` itself is skipped.
    explicit GUndoStackIterator(const GImageCommand& start);
    // The model given, of the class given.
    GUndoStackIterator(const GMetaClass* cls, const GCompoundModel& model);
    GUndoStackIterator(const GUndoStackIterator&) = delete;
    GUndoStackIterator& operator=(const GUndoStackIterator&) = delete;

    explicit operator bool() const;
    GImageCommand* command() const;
    GUndoStackIterator& operator++() {
        advance();
        return *this;
    }
    void operator++(int) { advance(); }

private:
    void advance();

    GImageCommandStack* m_stack;
    const GMetaClass* m_class;
    int m_position = -1;
    const GImageCommand* m_start = nullptr;
    const GCompoundModel* m_model = nullptr;
    TGSortedCollection<GCompoundModel> m_models{0, 4, false};
};
