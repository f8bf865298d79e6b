// Test plug-ins that announce editor contexts in their string 14269. CONTEXTS_FIRST builds the first: a tool
// context, a command, and a class nobody has. The second announces the first's tool again and a tool of its own.

#include "Classes/GClassBoilerplate.h"
#include "Commands/GImageCommand.h"
#include "Contexts/GEditorContext.h"
#include "win/ModuleStringTable.h"

namespace {

#if CONTEXTS_FIRST
class TestToolContext : public GEditorContext {
    G_CLASS(TestToolContext)
};

class TestFlipCommand : public GImageCommand {
    G_CLASS(TestFlipCommand)
    TestFlipCommand() : GImageCommand(UndoNothing) {}
    bool doit() override { return true; }
};

constexpr StringResource Strings[] = {
    {14269, "{TestToolContext=Tool|Use the tool}{TestFlipCommand=Flip|Flip the object}{NoSuchClass=None|Nothing}"},
};
#else
class TestOtherContext : public GEditorContext {
    G_CLASS(TestOtherContext)
};

constexpr StringResource Strings[] = {
    {14269, "{TestToolContext=Tool again|Announced twice}{TestOtherContext=}"},
};
#endif

const ModuleStringTable ModuleStrings(Strings);

} // namespace

#if CONTEXTS_FIRST
G_IMPLEMENT_CLASS(TestToolContext, GEditorContext)
G_IMPLEMENT_CLASS(TestFlipCommand, GImageCommand)
#else
G_IMPLEMENT_CLASS(TestOtherContext, GEditorContext)
#endif
