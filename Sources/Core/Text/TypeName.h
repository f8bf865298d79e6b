#pragma once
// The source-code name of a C++ type ("GCollection"), for messages.

#include "Text/GString.h"

#include <typeinfo>

GString TypeName(const std::type_info& type);
