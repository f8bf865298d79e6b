#pragma once
// GObject: a run-time class whose objects can be watched by weak pointers (GPointer), which become null when the
// object is destroyed.

#include "Classes/GClassBoilerplate.h"

class GObject : public GRTTIObject {
    G_CLASS(GObject)
    ~GObject() override;
};
