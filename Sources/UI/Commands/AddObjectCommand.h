#pragma once
// AddObjectCommand: puts an object into the root model (on top, or at an index) and, by default, selects it.
// While the object is out of the scene (not yet done, or undone) the command owns it.

#include "Commands/GImageCommand.h"

class AddObjectCommand : public GImageCommand {
    G_CLASS(AddObjectCommand)

    explicit AddObjectCommand(GCompoundModel* object = nullptr);
    ~AddObjectCommand() override;

    // Where the object goes among the root's children; below 0 or past the last means on top.
    void setIndex(int index) { m_index = index; }
    void selectObject(bool select) { m_selectObject = select; }
    // Hands the command the object to add, which it owns from now on (an object it owned before is destroyed).
    void set_object(GCompoundModel* object);
    GCompoundModel* getObject() const { return m_object; }

    bool doit() override;
    void undoit() override;
    void redoit() override;
    void affectedModels(TGSortedCollection<GCompoundModel>& models) const override;
    std::size_t undoMemory() const override;

protected:
    // Puts the object into its parent (the root unless set) at the index, selected when told to.
    void insertObject();
    // Takes the object out of the root; the command owns it from now on.
    void removeObject();
    void destroyOwnedObject();

    GCompoundModel* m_object;
    GCompoundModel* m_previousSelection = nullptr;
    GCompoundModel* m_parent = nullptr;
    int m_index = -1;
    bool m_selectObject = true;
    bool m_ownsObject = false;
};
