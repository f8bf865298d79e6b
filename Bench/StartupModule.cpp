// A plug-in for the start-up benchmark: one editor context of a class of its own (STARTUP_CLASS, which the build
// numbers for each copy), announced in its string 14269 as a plug-in does.

#include "Contexts/GEditorContext.h"
#include "win/ModuleStringTable.h"

// One more level of macros, so that the class's number is expanded before it becomes the class's name.
#define STARTUP_DECLARE(name) G_CLASS(name)
#define STARTUP_IMPLEMENT(name) G_IMPLEMENT_CLASS(name, GEditorContext)
#define STARTUP_TEXT(name) #name
#define STARTUP_NAME(name) STARTUP_TEXT(name)

namespace {

class STARTUP_CLASS : public GEditorContext {
    STARTUP_DECLARE(STARTUP_CLASS)
};

constexpr StringResource Strings[] = {
    {14269, "{" STARTUP_NAME(STARTUP_CLASS) "=Tool|A tool of a start-up module}"},
};

const ModuleStringTable ModuleStrings(Strings);

} // namespace

STARTUP_IMPLEMENT(STARTUP_CLASS)
