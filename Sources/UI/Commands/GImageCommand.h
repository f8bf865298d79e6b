#pragma once
// GImageCommand: one change of the scene, kept on the document's undo stack. By default it undoes itself by a
// snapshot of the selected or the root model taken when it is attached to the document.

#include "Collections/TGSortedCollection.h"
#include "Commands/GDocumentAttacher.h"

#include <cstddef>

class GImageCommand : public GDocumentAttacher {
    G_CLASS(GImageCommand)

    enum DefaultUndoType { UndoNothing = 0, UndoSelectedModel = 1, UndoWholeModel = 2 };

    explicit GImageCommand(DefaultUndoType undo) : m_defaultUndo(undo) {}
    ~GImageCommand() override;
    GImageCommand(const GImageCommand&) = delete;
    GImageCommand& operator=(const GImageCommand&) = delete;

    void setDefaultUndo(DefaultUndoType undo) { m_defaultUndo = undo; }
    DefaultUndoType getDefaultUndo() const { return m_defaultUndo; }

    // The selection captured when the command was attached.
    GCompoundModel* getSelectedModel() const override { return m_selected; }
    // Captures the selection, then takes the snapshot the default undo asks for.
    void attachedToDocument(GKorvaneDoc* document) override;
    virtual GCompoundModel* getSavedModel() const { return m_saved; }
    // True when the command changed something.
    virtual bool doit() = 0;
    virtual void undoit();
    virtual void redoit() { doit(); }
    virtual void affectedModels(TGSortedCollection<GCompoundModel>& models) const;

    // Bytes of pixels the command holds for undo (its snapshot, and what its subclasses keep).
    virtual std::size_t undoMemory() const;

protected:
    // The bytes of a model's own pixels and mask, of its unmodified copy and of the models below it: what holding it
    // for undo costs.
    static std::size_t PixelBytes(const GCompoundModel& model);
    // The snapshot of `source`: its own attributes, image, effects and unmodified copy; not its children, nor
    // its caches.
    void takeSnapshot(const GCompoundModel& source);
    // Restores `model` from the snapshot.
    void restoreSnapshot(GCompoundModel& model) const;
    // The model the default undo saves and restores: the selected or the root model; null for UndoNothing.
    GCompoundModel* undoTarget() const;

private:
    GCompoundModel* m_saved = nullptr; // owned
    GCompoundModel* m_selected = nullptr;
    DefaultUndoType m_defaultUndo;
};
