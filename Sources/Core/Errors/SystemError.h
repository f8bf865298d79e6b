#pragma once
// The system's own text for an error number (errno), as the system words it.

#include "Text/GString.h"

GString SystemErrorText(int error);
