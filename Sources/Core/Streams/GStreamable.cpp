#include "Streams/GStreamable.h"

#include "Streams/mpstream.h"

G_IMPLEMENT_ABSTRACT_CLASS(GStreamable, GObject)

void GStreamable::read(ipstream&) {}

void GStreamable::write(opstream&) const {}

GStreamable* GStreamable::clone() const {
    if (!shouldWrite())
        return nullptr;
    mpstream stream;
    stream.writePointer(this);
    stream.seekg(0, GIO::FromBegin);
    return stream.readPointer<GStreamable>();
}
