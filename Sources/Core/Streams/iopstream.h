#pragma once
// iopstream: reads and writes one stream.

#include "Streams/ipstream.h"
#include "Streams/opstream.h"

class iopstream : public ipstream, public opstream {
public:
    iopstream() = default;
    explicit iopstream(GAbstractBufferedIO* io) : pstream(io) {}
};
