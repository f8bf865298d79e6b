#include "Archives/GResourceDirectory.h"

#include "Archives/GResourceDirectoryList.h"
#include "Classes/GClassBoilerplate.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <cstring>
#include <memory>

G_IMPLEMENT_CLASS(GResourceDirectory, GSortedCollection)

// Directories written under their first name still read, as the types alone.
static const GMetaClass OldDirectoryName(GResourceDirectory::metaclass_, "ResourceTypeCollection");

GResourceDirectory::GResourceDirectory(const char* name) : TGSortedCollection(0, 4, true), m_name(name) {}

GResourceDirectory::~GResourceDirectory() {
    if (m_subdirectories != nullptr)
        m_subdirectories->destroyThis();
}

GResourceDirectory* GResourceDirectory::find_subdirectory(const char* name) const {
    if (m_subdirectories == nullptr)
        return nullptr;
    int index = 0;
    const GString key(name);
    return m_subdirectories->search(static_cast<const char*>(key), index) ? m_subdirectories->at(index) : nullptr;
}

GResourceDirectory& GResourceDirectory::make_subdirectory(const char* name) {
    if (GResourceDirectory* found = find_subdirectory(name))
        return *found;
    auto* directory = new GResourceDirectory(name);
    adopt_subdirectory(directory);
    return *directory;
}

void GResourceDirectory::adopt_subdirectory(GResourceDirectory* directory) {
    if (m_subdirectories == nullptr)
        m_subdirectories = new GResourceDirectoryList;
    directory->m_parent = this;
    m_subdirectories->insert(directory);
}

void GResourceDirectory::release_subdirectory(GResourceDirectory* directory) {
    if (m_subdirectories == nullptr || m_subdirectories->remove(directory) < 0)
        return;
    directory->m_parent = nullptr;
    if (m_subdirectories->getCount() == 0) // stored as no list, as in a directory that never had one
        std::exchange(m_subdirectories, nullptr)->destroyThis();
}

void GResourceDirectory::clear() {
    free_all();
    if (m_subdirectories != nullptr)
        std::exchange(m_subdirectories, nullptr)->destroyThis();
}

GResourceCollection* GResourceDirectory::find_type(const char* type) const {
    int index = 0;
    const GString key(type);
    return search(static_cast<const char*>(key), index) ? at(index)->items : nullptr;
}

GResourceCollection& GResourceDirectory::make_type(const char* type) {
    if (GResourceCollection* found = find_type(type))
        return *found;
    auto* item = new ResourceTypeItem(type);
    insert(item);
    return *item->items;
}

const void* GResourceDirectory::keyOf(const void* item) const {
    return static_cast<const char*>(static_cast<const ResourceTypeItem*>(item)->type);
}

int GResourceDirectory::compare(const void* key1, const void* key2) const {
    return std::strcmp(static_cast<const char*>(key1), static_cast<const char*>(key2));
}

void GResourceDirectory::write(opstream& stream) const {
    stream.writeByte(0);
    GSortedCollection::write(stream);
    stream << m_name;
    stream.writePointer(m_subdirectories);
}

void GResourceDirectory::read(ipstream& stream) {
    const GMetaClass* readAs = stream.metaclassOfReadingObject();
    const bool oldForm = readAs != nullptr && std::strcmp(readAs->getName(), "ResourceTypeCollection") == 0;
    if (!oldForm)
        stream.readVersion(0, typeid(GResourceDirectory));
    GSortedCollection::read(stream);
    if (oldForm)
        return;
    stream >> m_name;
    if (m_subdirectories != nullptr)
        std::exchange(m_subdirectories, nullptr)->destroyThis();
    {
        const ipstream::OwningScope owning(stream); // the sub-directories are this directory's
        m_subdirectories = stream.readPointer<GResourceDirectoryList>();
    }
    adoptSubdirectories();
}

void GResourceDirectory::adoptSubdirectories() {
    if (m_subdirectories == nullptr)
        return;
    for (int i = 0; i < m_subdirectories->getCount(); ++i)
        if (GResourceDirectory* directory = m_subdirectories->at(i))
            directory->m_parent = this;
}

void GResourceDirectory::write_item(void* item, opstream& stream) const {
    const auto* type = static_cast<const ResourceTypeItem*>(item);
    stream << type->type;
    stream.writePointer(type->items);
}

void* GResourceDirectory::read_item(ipstream& stream) {
    auto type = std::make_unique<ResourceTypeItem>();
    stream >> type->type;
    type->items = stream.readPointer<GResourceCollection>();
    return type.release();
}
