#pragma once
// ReplaceBackgroundCommand: a picture becomes the scene's background. Objects that the new background would
// leave wholly outside are deleted in the same step, once the user agrees.

#include "Commands/GCombinedImageCommand.h"
#include "win/Win32Types.h"

class ReplaceBackgroundCommand : public GCombinedImageCommand {
    G_CLASS(ReplaceBackgroundCommand)

    // Takes the new background.
    explicit ReplaceBackgroundCommand(GCompoundModel* background);
    ~ReplaceBackgroundCommand() override;

    // Lists the objects to delete and asks; on Cancel no snapshot is taken, so the command does nothing.
    void attachedToDocument(GKorvaneDoc* document) override;
    bool doit() override;
    void redoit() override { doit(); }
    std::size_t undoMemory() const override;

private:
    // Whether none of the child's mask lies inside `bounds` (root coordinates).
    static bool OutsideOf(const GCompoundModel& child, const RECT& bounds);

    GCompoundModel* m_background; // owned
};
