#include "Archives/GResourceIterator.h"

#include "Archives/GResourceFileServer.h"

namespace {

const GString& noName() {
    static const GString empty;
    return empty;
}

std::vector<GString> subdirectoryNames(const GResourceFile& file, const GResourcePath& path) {
    const GResourceFileServer* server = file.get_server();
    return server != nullptr ? server->subdirectory_names(path) : std::vector<GString>();
}

std::vector<GString> typeNames(const GResourceFile& file, const GResourcePath& path) {
    const GResourceFileServer* server = file.get_server();
    return server != nullptr ? server->type_names(path) : std::vector<GString>();
}

std::vector<GString> itemNames(const GResourceFile& file, const GResourceFullType& type) {
    const GResourceFileServer* server = file.get_server();
    return server != nullptr ? server->item_names(type) : std::vector<GString>();
}

} // namespace

const GString& ResourceNameIterator::name() const {
    return *this ? m_names[m_index] : noName();
}

ResourceNameIterator& ResourceNameIterator::operator++() {
    if (*this)
        ++m_index;
    return *this;
}

GResourceSubDirectoryIterator::GResourceSubDirectoryIterator(const GResourceFile& file)
    : GResourceSubDirectoryIterator(file, file.get_current_directory()) {}

GResourceSubDirectoryIterator::GResourceSubDirectoryIterator(const GResourceFile& file, const GResourcePath& path)
    : ResourceNameIterator(subdirectoryNames(file, path)) {}

GResourceTypeIterator::GResourceTypeIterator(const GResourceFile& file)
    : GResourceTypeIterator(file, file.get_current_directory()) {}

GResourceTypeIterator::GResourceTypeIterator(const GResourceFile& file, const GResourcePath& path)
    : ResourceNameIterator(typeNames(file, path)) {}

GResourceIterator::GResourceIterator(GResourceFile& file, const char* type)
    : GResourceIterator(file, GResourceFullType(file.get_current_directory(), type)) {}

GResourceIterator::GResourceIterator(GResourceFile& file, const GResourceFullType& type)
    : ResourceNameIterator(itemNames(file, type)), m_file(file), m_type(type) {}

const GString& GResourceIterator::name(int i) const {
    return i >= 0 && i < count() ? m_names[static_cast<std::size_t>(i)] : noName();
}

GResourceFullName GResourceIterator::current() const {
    return GResourceFullName(m_type, name());
}

GStreamable* GResourceIterator::get(bool keep) const {
    return *this ? m_file.get(current(), keep) : nullptr;
}

GStreamable* GResourceIterator::get_loaded() const {
    const GResourceFileServer* server = m_file.get_server();
    return *this && server != nullptr ? server->get_loaded(current()) : nullptr;
}
