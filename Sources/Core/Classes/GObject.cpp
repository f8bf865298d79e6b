#include "Classes/GObject.h"

#include "Classes/GPointer.h"

G_IMPLEMENT_ABSTRACT_CLASS(GObject, GRTTIObject)

GObject::~GObject() {
    GPointer::ObjectDestroyed(this);
}
