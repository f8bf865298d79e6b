#pragma once
// GPreferencesList: the preferences of the application, one of every registered class derived from GPreference
// (plug-ins add theirs by registering classes), owned by the list.

#include "Collections/TGCollection.h"
#include "Preferences/GPreference.h"

class GPreferencesList : public TGCollection<GPreference> {
public:
    // With `create`, makes one preference of every registered kind, in the class dictionary's order.
    explicit GPreferencesList(bool create);

    // Every preference reads its values from the registry.
    void load();
    // Every preference writes its values to the registry.
    void save();
};
