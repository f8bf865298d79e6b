#include "Core/CoreStringTable.h"
#include "Support/TestStartup.h"

void KorvaneTestStartup() {
    AddCoreStringLoader();
}
