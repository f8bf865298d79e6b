#include "IO/GIO.h"

#include "Classes/GClassBoilerplate.h"

GIO::~GIO() = default;

long GIO::gtell() {
    return gseek(0, FromCurrent);
}

void GIO::flush() {}

void* GIO::cast_to_(const std::type_info& type) const {
    return GCastTo<GIO>(this, type);
}
