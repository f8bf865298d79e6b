#pragma once
// GStreamable: the base of every persistent class. Each writes itself to an object stream and reads itself
// back; the base has no data of its own, so it writes and reads nothing.

#include "Classes/GObject.h"

class ipstream;
class opstream;

class GStreamable : public GObject {
    G_CLASS(GStreamable)

    virtual void read(ipstream& stream);
    virtual void write(opstream& stream) const;
    // A deep copy made by writing this object to a memory stream and reading it back; null when the object is
    // not to be written.
    virtual GStreamable* clone() const;

    // Whether the object is written at all (an object may stand in a structure without being stored).
    bool shouldWrite() const { return m_shouldWrite; }
    void shouldWrite(bool flag) { m_shouldWrite = flag; }

private:
    bool m_shouldWrite = true;
};
