#pragma once
// GCombinedImageCommand: an ordered list of commands done and undone as one step. Sub-commands that fail are
// dropped; the whole succeeds when one of them does.

#include "Collections/TGCollection.h"
#include "Commands/GImageCommand.h"

class GCombinedImageCommand : public GImageCommand {
    G_CLASS(GCombinedImageCommand)

    GCombinedImageCommand() : GImageCommand(UndoNothing) {}

    // Appends a command, which the combined command then owns (null is ignored).
    void addCommand(GImageCommand* command);
    int getCommandCount() const { return m_commands.getCount(); }

    void attachedToDocument(GKorvaneDoc* document) override;
    void detachedFromDocument(GKorvaneDoc* document) override;
    bool doit() override;
    void undoit() override;
    void redoit() override;
    void affectedModels(TGSortedCollection<GCompoundModel>& models) const override;
    std::size_t undoMemory() const override;

private:
    TGCollection<GImageCommand> m_commands{0, 4, true};
};
