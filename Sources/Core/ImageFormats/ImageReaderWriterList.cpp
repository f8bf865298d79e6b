#include "ImageFormats/ImageReaderWriterList.h"

ImageReaderWriterList::ImageReaderWriterList(const ImageReaderWriterList& other) : ImageReaderWriterList() {
    *this = other;
}

ImageReaderWriterList& ImageReaderWriterList::operator=(const ImageReaderWriterList& other) {
    if (&other == this)
        return *this;
    empty();
    for (int i = 0; i < other.getCount(); ++i)
        at_insert(i, other.at(i) != nullptr ? static_cast<GDIBReaderWriter*>(other.at(i)->clone()) : nullptr);
    return *this;
}

GDIBReaderWriter* ImageReaderWriterList::take(int i) {
    GDIBReaderWriter* format = at(i);
    at_remove(i);
    return format;
}
