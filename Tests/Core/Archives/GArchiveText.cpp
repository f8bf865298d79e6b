#include "Core/Archives/GArchiveText.h"

#include "Classes/GClassBoilerplate.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

G_IMPLEMENT_CLASS(GArchiveText, GStreamable)

void GArchiveText::write(opstream& stream) const {
    stream << text;
}

void GArchiveText::read(ipstream& stream) {
    stream >> text;
}

GString TakeArchiveText(GStreamable* object) {
    if (object == nullptr)
        return "<null>";
    const auto* text = static_cast<const GArchiveText*>(object->cast_to_(typeid(GArchiveText)));
    GString result = text != nullptr ? text->text : GString("<other>");
    object->destroyThis();
    return result;
}
