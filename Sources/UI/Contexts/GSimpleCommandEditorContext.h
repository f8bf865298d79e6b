#pragma once
// GSimpleCommandEditorContext: a menu action that applies one command of a class, built by its class record.

#include "Contexts/GOneTimeEditorContext.h"

class GImageCommand;

class GSimpleCommandEditorContext : public GOneTimeEditorContext {
    G_CLASS(GSimpleCommandEditorContext)

    explicit GSimpleCommandEditorContext(const GMetaClass* commandClass = nullptr) : m_commandClass(commandClass) {}

    const GMetaClass* getCommandClass() const { return m_commandClass; }
    void performAction() override;
    // A new command of the class, or null (no class, or not a command).
    virtual GImageCommand* createCommand();

private:
    const GMetaClass* m_commandClass;
};
