#pragma once
// The classes of the test module, as the tests see them through their common bases.

#include "Core/gmetadata/GObject.h"

// An abstract shape with an area.
class GTestShape : public GObject {
    G_CLASS(GTestShape)
    virtual int area() const = 0;
};
