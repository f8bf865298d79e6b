#pragma once
// iopstream: reads and writes one stream.

#include "Core/ipstream.h"
#include "Core/opstream.h"

class iopstream : public ipstream, public opstream {
public:
    iopstream() = default;
    explicit iopstream(GAbstractBufferedIO* io) : pstream(io) {}
};
