#pragma once
// TGCollection<T>: a GCollection of T pointers (see TGTypedCollection).

#include "Collections/GCollection.h"
#include "Collections/TGTypedCollection.h"

template <class T>
class TGCollection : public TGTypedCollection<T, GCollection> {
public:
    using TGTypedCollection<T, GCollection>::TGTypedCollection;
};
