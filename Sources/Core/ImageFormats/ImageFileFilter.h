#pragma once
// ImageFileFilter: a format's file filter, "display text|patterns separated by ';'|", for example
// "Adobe Photoshop (*.psd)|*.psd|".

#include "Text/GString.h"

#include <vector>

class ImageFileFilter : public GString {
public:
    using GString::GString;
    using GString::operator=;

    // The text before the first '|'.
    GString get_display_string() const;
    // The second '|'-separated segment.
    GString get_patterns() const;
    // The patterns one by one, in order.
    void get_extensions(std::vector<GString>& extensions) const;
    // The first pattern, or empty when there is none.
    GString get_default_extension() const;
};
