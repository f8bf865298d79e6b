#include "Classes/GObject.h"

namespace {

// An abstract shape with an area.
class GTestShape : public GObject {
    G_CLASS(GTestShape)
    virtual int area() const = 0;
};

class GTestSquare : public GTestShape {
    G_CLASS(GTestSquare)
    int area() const override { return 4; }
};

class GTestCube : public GTestSquare {
    G_CLASS(GTestCube)
    int area() const override { return 24; }
};

} // namespace

G_IMPLEMENT_ABSTRACT_CLASS(GTestShape, GObject)
G_IMPLEMENT_CLASS(GTestSquare, GTestShape)
G_IMPLEMENT_CLASS(GTestCube, GTestSquare)

// Data written under the square's first name still reads as a square.
static const GMetaClass OldSquareName(GTestSquare::metaclass_, "GTestQuadrangle");

// The area of a shape built from this module, for the tests to reach it by name.
extern "C" int ShapeArea(GRTTIObject* shape) {
    return static_cast<GTestShape*>(shape->cast_to_(typeid(GTestShape)))->area();
}
