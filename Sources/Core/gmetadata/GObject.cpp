#include "Core/gmetadata/GObject.h"

#include "Core/gmetadata/GPointer.h"

G_IMPLEMENT_ABSTRACT_CLASS(GObject, GRTTIObject)

GObject::~GObject() {
    GPointer::ObjectDestroyed(this);
}
