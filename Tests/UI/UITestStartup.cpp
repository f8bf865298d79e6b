#include "Support/TestStartup.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"

void KorvaneTestStartup() {
    AddCoreStringLoader();
    AddUIStringLoader();
}
