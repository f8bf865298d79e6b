#include "Text/TypeName.h"

#include <cstdlib>
#include <cxxabi.h>

GString TypeName(const std::type_info& type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    GString name(status == 0 && demangled != nullptr ? demangled : type.name());
    std::free(demangled);
    return name;
}
