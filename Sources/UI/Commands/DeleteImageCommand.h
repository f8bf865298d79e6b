#pragma once
// DeleteImageCommand: takes a model (by default the selection) out of the scene; undone, it goes back to its
// place. The root model cannot be deleted.

#include "Commands/AddObjectCommand.h"

class DeleteImageCommand : public AddObjectCommand {
    G_CLASS(DeleteImageCommand)

    explicit DeleteImageCommand(GCompoundModel* target = nullptr) : m_target(target) {}

    bool doit() override;
    void undoit() override;
    void redoit() override;

private:
    GCompoundModel* m_target;
};
