#pragma once
// GKorvaneDocHelper: puts a model handed in from outside (dropped, pasted, taken from a scrapbook) into the active
// document as the whole scene, the background or a new object.

#include "Model/GCompoundModel.h"

class GKorvaneDocHelper {
public:
    // At the middle of the model itself (the view's middle once the shell gives one).
    static void AddModelByType(GCompoundModel::Type type, GCompoundModel* model);
    // The document takes the model; an object is centred on `point` (root coordinates) and flattened first.
    static void AddModelByType(GCompoundModel::Type type, GCompoundModel* model, POINT point);
};
