#pragma once
// ImageReaderWriterList: a list of formats that owns them. A copy holds clones of the other's formats.

#include "Collections/TGCollection.h"
#include "ImageFormats/GDIBReaderWriter.h"

class ImageReaderWriterList : public TGCollection<GDIBReaderWriter> {
public:
    ImageReaderWriterList() : TGCollection(0, 4, true) {}
    ImageReaderWriterList(const ImageReaderWriterList& other);
    ImageReaderWriterList& operator=(const ImageReaderWriterList& other);

    // Takes the format at i out of the list without destroying it: the caller owns it then.
    GDIBReaderWriter* take(int i);
};
