#include "Support/TestStartup.h"

void KorvaneTestStartup() {}
