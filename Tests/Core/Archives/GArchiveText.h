#pragma once
// A small object to store in archives: one text. Shared by the archive tests, benchmark and fuzzer.

#include "Streams/GStreamable.h"
#include "Text/GString.h"

class GArchiveText : public GStreamable {
    G_CLASS(GArchiveText)
    GArchiveText() = default;
    explicit GArchiveText(const char* text) : text(text) {}

    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

    GString text;
};

// The text of an object read from an archive (destroying it), or "<null>" / "<other>".
GString TakeArchiveText(GStreamable* object);
