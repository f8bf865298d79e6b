#include "Core/GStreamable.h"

G_IMPLEMENT_ABSTRACT_CLASS(GStreamable, GObject)

void GStreamable::read(ipstream&) {}

void GStreamable::write(opstream&) const {}
