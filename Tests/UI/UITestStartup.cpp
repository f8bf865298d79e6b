#include "Support/TestStartup.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"

#include <wx/init.h>

void KorvaneTestStartup() {
    AddCoreStringLoader();
    AddUIStringLoader();
    // The document classes need the framework's modules (no window, no display).
    static wxInitializer framework;
}
