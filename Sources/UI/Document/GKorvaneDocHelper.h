#pragma once
// GKorvaneDocHelper: puts a model handed in from outside (dropped, pasted, taken from a scrapbook) into the active
// document as the whole scene, the background or a new object.

#include "Model/GCompoundModel.h"

class GKorvaneDocHelper {
public:
    // At the middle of the active view (of the model itself when there is no view).
    static void AddModelByType(GCompoundModel::Type type, GCompoundModel* model);
    // The document takes the model; an object is centred on `point` (root coordinates) and flattened first.
    static void AddModelByType(GCompoundModel::Type type, GCompoundModel* model, POINT point);
    // The middle of the part of the scene the active view shows, in root coordinates; (0, 0) without a view.
    static POINT ViewCentre();
};
