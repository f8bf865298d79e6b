#pragma once
// SelectImageCommand: selects a model and, when asked, brings it to the top of its siblings. Doing it again
// swaps back, so undo and redo are the same exchange of z-order and selection.

#include "Commands/GImageCommand.h"

class SelectImageCommand : public GImageCommand {
    G_CLASS(SelectImageCommand)

    // A model and its index in its parent (-1 for none).
    struct ObjectZPosition {
        GCompoundModel* model = nullptr;
        int index = 0;
    };

    SelectImageCommand(GCompoundModel* model, bool bringToTop);

    bool doit() override;
    void undoit() override { redoit(); }
    void redoit() override;
    void affectedModels(TGSortedCollection<GCompoundModel>& models) const override;

    // The document's selection with its index.
    ObjectZPosition getSelectionInfo() const;
    static ObjectZPosition GetZPosition(GCompoundModel* model);
    // Moves the model back to the index (nothing for a null model or a negative index).
    static void ApplyZPosition(const ObjectZPosition& position);

private:
    ObjectZPosition m_target;
    ObjectZPosition m_previous;
};
