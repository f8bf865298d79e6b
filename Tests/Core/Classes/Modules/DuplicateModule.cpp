#include "Classes/GClassBoilerplate.h"
#include "Collections/GCollection.h"

namespace {

class GDuplicateHelper : public GObject {
    G_CLASS(GDuplicateHelper)
};

// Another class under a name that the core has taken.
class DuplicateCollection : public GObject {
    G_CLASS(DuplicateCollection)
};

} // namespace

G_IMPLEMENT_CLASS(GDuplicateHelper, GObject)
G_IMPLEMENT_CAST(DuplicateCollection, GObject)
GRTTIObject* DuplicateCollection::ClassBuilder_() {
    return GBuildObject<DuplicateCollection>();
}
void DuplicateCollection::ClassDestroyer_(GRTTIObject* object) {
    GDestroyObject<DuplicateCollection>(object);
}
const GMetaClass DuplicateCollection::metaclass_(typeid(DuplicateCollection), "GCollection",
                                                 &DuplicateCollection::ClassBuilder_,
                                                 &DuplicateCollection::ClassDestroyer_, &GObject::metaclass_);
