#include "ImageFormats/ImageFileFilter.h"

GString ImageFileFilter::get_display_string() const {
    return getSegmentExcluding('|', 0);
}

GString ImageFileFilter::get_patterns() const {
    return getSegmentExcluding('|', 1);
}

void ImageFileFilter::get_extensions(std::vector<GString>& extensions) const {
    extensions.clear();
    const GString patterns = get_patterns();
    for (unsigned i = 0; i <= patterns.char_count(';'); ++i) {
        GString pattern = patterns.getSegmentExcluding(';', i);
        if (!pattern.isEmpty())
            extensions.push_back(pattern);
    }
}

GString ImageFileFilter::get_default_extension() const {
    std::vector<GString> extensions;
    get_extensions(extensions);
    return extensions.empty() ? GString() : extensions.front();
}
