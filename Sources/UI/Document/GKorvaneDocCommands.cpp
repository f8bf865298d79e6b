// GKorvaneDoc: the command life cycle, undo and redo, and the memory the undo steps may hold.

#include "Document/GKorvaneDoc.h"

#include "Settings/GRegistryDWord.h"

#include <unistd.h>

namespace {

// An eighth of the machine's memory, between 256 MiB and 4 GiB.
DWORD defaultUndoMebibytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const unsigned long long bytes =
        pages > 0 && pageSize > 0 ? static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize)
                                  : 0;
    const unsigned long long eighth = bytes / 8 >> 20;
    return static_cast<DWORD>(eighth < 256 ? 256 : eighth > 4096 ? 4096 : eighth);
}

} // namespace

GRegistryDWord& GKorvaneDoc::UndoMemoryLimit() {
    static GRegistryDWord limit(nullptr, "", "UndoMemory", defaultUndoMebibytes());
    return limit;
}

void GKorvaneDoc::attachCommand(GImageCommand* command) {
    m_lastCommandResult = false;
    if (command == nullptr)
        return;
    m_undoStack.push(command);
    m_topDone = false;
    command->attachedToDocument(this);
}

bool GKorvaneDoc::applyLastCommand() {
    GImageCommand* command = m_undoStack.top();
    m_lastCommandResult = command != nullptr && command->doit();
    if (m_lastCommandResult) {
        if (m_savedDepth >= m_undoStack.size()) // the saved state was on the redo stack
            m_savedReachable = false;
        m_redoStack.clear();
        adjustUndoRedoStacks();
    } else if (command != nullptr) {
        discardTop();
    }
    m_topDone = !m_undoStack.empty();
    updateModifiedFlag();
    return m_lastCommandResult;
}

// A command that was done before and now, run again with new values, does nothing is taken back whole: the
// scene returns to the state before its first run, as if it had never been applied.
void GKorvaneDoc::discardTop() {
    GImageCommand* command = m_undoStack.pop();
    if (m_topDone)
        command->undoit();
    command->destroyThis();
}

bool GKorvaneDoc::applyCommand(GImageCommand* command) {
    attachCommand(command);
    return command != nullptr && applyLastCommand();
}

bool GKorvaneDoc::undo() {
    GImageCommand* command = m_undoStack.pop();
    if (command == nullptr)
        return false;
    command->undoit();
    m_redoStack.push(command);
    m_topDone = true; // every command below the top has been done
    updateModifiedFlag();
    return true;
}

bool GKorvaneDoc::redo() {
    GImageCommand* command = m_redoStack.pop();
    if (command == nullptr)
        return false;
    command->redoit();
    m_undoStack.push(command);
    m_topDone = true;
    updateModifiedFlag();
    return true;
}

std::size_t GKorvaneDoc::undoMemory() const {
    std::size_t bytes = 0;
    for (const GImageCommandStack* stack : {&m_undoStack, &m_redoStack})
        for (int i = 0; i < stack->size(); ++i)
            bytes += (*stack)[i]->undoMemory();
    return bytes;
}

void GKorvaneDoc::adjustUndoRedoStacks() {
    const std::size_t limit = static_cast<std::size_t>(static_cast<DWORD>(UndoMemoryLimit())) << 20;
    std::size_t held = undoMemory();
    while (held > limit && m_undoStack.size() > 1) {
        GImageCommand* oldest = m_undoStack.popBottom();
        held -= oldest->undoMemory();
        oldest->destroyThis();
        if (--m_savedDepth < 0)
            m_savedReachable = false;
    }
}

void GKorvaneDoc::updateModifiedFlag() {
    Modify(!m_savedReachable || m_undoStack.size() != m_savedDepth);
}

void GKorvaneDoc::markSaved() {
    m_savedDepth = m_undoStack.size();
    m_savedReachable = true;
    Modify(false);
}

void GKorvaneDoc::updateAll() {
    updateModifiedFlag();
    send(Reason_ModelModified);
}
