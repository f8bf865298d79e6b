#include "Preferences/GPreferencesList.h"

#include "Classes/GClassDictionary.h"

GPreferencesList::GPreferencesList(bool create) : TGCollection(0, 4, true) {
    if (!create)
        return;
    GClassDictionary kinds;
    GPreference::metaclass_.getDerivedClasses(kinds, true);
    for (int i = 0; i < kinds.getCount(); ++i)
        if (GRTTIObject* made = kinds.at(i)->buildObject())
            if (auto* preference = static_cast<GPreference*>(made->cast_to_(typeid(GPreference))))
                insert(preference);
}

void GPreferencesList::load() {
    for (int i = 0; i < getCount(); ++i)
        at(i)->readValues();
}

void GPreferencesList::save() {
    for (int i = 0; i < getCount(); ++i)
        at(i)->writeValues();
}
