#pragma once
// TGSortedCollection<T>: a GSortedCollection of T pointers (see TGTypedCollection). Subclasses give the order
// through keyOf and compare.

#include "Collections/GSortedCollection.h"
#include "Collections/TGTypedCollection.h"

template <class T>
class TGSortedCollection : public TGTypedCollection<T, GSortedCollection> {
public:
    using TGTypedCollection<T, GSortedCollection>::TGTypedCollection;
};
