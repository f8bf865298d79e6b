#pragma once
// GModelInsertion: a paste or a drop: every object of the offer goes into the active document, as the whole
// scene, the background or a new object. The user says what a plain picture is to be.

#include "Clipboard/GDataOffer.h"
#include "win/Win32Types.h"

class GModelInsertion {
public:
    // Objects are centred on `point` (root coordinates). With `moving`, live models of a document of this process
    // are left out: their drag source moves them. Returns how many objects went in.
    static int Insert(const GDataOffer& data, POINT point, bool moving);
};
