#include "Document/GKorvaneDocManager.h"

void GKorvaneDocManager::GetReaderWriterList(bool reading, FileType type, ImageReaderWriterList& list) {
    list.GCollection::empty();
    GDIBReaderWriter::GetAllInfo(list, reading ? GDIBReaderWriter::CanRead : GDIBReaderWriter::CanWrite, 0);
    if (list.getCount() == 0)
        return;
    if (type == FileTypeScene) {
        while (list.getCount() > 1)
            list.free(list.at(list.getCount() - 1));
    } else {
        list.free(list.at(0));
    }
}
