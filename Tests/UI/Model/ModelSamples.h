#pragma once
// Models for the tests and the scene fuzzer's seeds.

#include "Model/GCompoundModel.h"
#include "Model/GImageEffect.h"
#include "Streams/opstream.h"

// A tree of three levels under `root` (6 x 5, one black pixel at 2, 2): "object", 3 x 3 at (1, 2), locked,
// composed by type 1 on premultiplied colours, with an effect that is off; inside it "inner", 1 x 1, hidden.
inline void AddSampleTree(GCompoundModel& root) {
    root.getModifiableImage().set_pixel(2, 2, 0xFF000000);
    auto* object = new GCompoundModel(3, 3);
    object->setOrigin(POINT{1, 2});
    object->setName("object");
    object->locked(true);
    GIPLCompositionMode mode(1);
    mode.alphaPremultiplied(true);
    object->setCompositionMode(mode);
    object->addEffect(new GImageEffect(false));
    auto* inner = new GCompoundModel(1, 1);
    inner->visible(false);
    inner->setName("inner");
    object->addChild(inner);
    root.addChild(object);
}

// Writes a model stream in the layout of an older version, field by field as the format describes it: an image of
// 2 x 1 pixels, origin (5, 6), no children, invisible, named "old", locked, one effect, where the version has them.
class OldModel : public GStreamable {
public:
    explicit OldModel(BYTE version) : m_version(version) {}
    const GMetaClass& getMetaClass() const override { return GCompoundModel::metaclass_; }

    void write(opstream& stream) const override {
        GSprite image(2, 1);
        image.set_pixel(0, 0, 0xFF112233);
        image.set_pixel(1, 0, 0xFF445566);
        const BYTE v = m_version;
        stream.writeByte(v);
        if (v >= 10)
            stream.writeByte(1);
        if (v == 0)
            image.write(stream);
        else
            stream.writeStreamable(image);
        stream << GPoint(5, 6);
        stream.writeDWord(0); // children
        if (v >= 1 && v <= 7) {
            if (v < 4)
                stream.writeDWord(77);
            GSprite obsolete(1, 1);
            stream.writePointer(&obsolete);
        }
        if (v >= 2 && v <= 5)
            stream.fillBytes(14, 0); // the inline shadow, of a class this program lacks
        if (v >= 3)
            stream.writeDWord(0); // invisible
        if (v >= 9)
            stream.writeByte(2);
        else if (v >= 4)
            stream.writeDWord(0);
        if (v >= 5)
            stream << GString("old");
        if (v >= 7)
            stream.writeDWord(1);
        if (v >= 6) {
            stream.writeDWord(1);
            GImageEffect effect;
            stream.writePointer(&effect);
        }
    }

private:
    BYTE m_version;
};
