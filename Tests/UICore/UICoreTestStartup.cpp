#include "Support/TestStartup.h"
#include "Text/CoreStringTable.h"

void KorvaneTestStartup() {
    AddCoreStringLoader();
}
