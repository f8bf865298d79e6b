#include "ShapesModule.h"

#include "Core/gmetadata/GClassBoilerplate.h"

namespace {

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
