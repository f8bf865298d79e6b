#include "gdi/GdiObjects.h"

BOOL DeleteObject(HGDIOBJ object) {
    if (object == nullptr || !object->deletable())
        return FALSE;
    delete object;
    return TRUE;
}

BOOL DeleteObject(HBITMAP bitmap) {
    return DeleteObject(static_cast<HGDIOBJ>(bitmap));
}

BOOL DeleteObject(HRGN region) {
    return DeleteObject(static_cast<HGDIOBJ>(region));
}
