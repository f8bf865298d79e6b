#include "Archives/GResourceFileServerList.h"

#include "Archives/GResourceFile.h"
#include "Archives/GResourceFileServer.h"

#include <filesystem>
#include <memory>

namespace {

// Writers let others read (a reader elsewhere sees the last flushed state) but not write; readers let others do
// both. A second writer is refused the writing open and gets a reader's.
std::unique_ptr<zpstream> openArchiveFile(const char* name, int mode) {
    std::error_code error;
    if (std::filesystem::exists(name, error) && !std::filesystem::is_regular_file(name, error))
        return nullptr; // a directory or a device is no archive
    auto stream = std::make_unique<zpstream>();
    if (GIO::canWrite(static_cast<GIO::IOOpenMode>(mode)) &&
        stream->open(name, GIO::ReadWrite, GFileIO::OpenAlways, GFileIO::ShareRead))
        return stream;
    if (stream->open(name, GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareReadWrite))
        return stream;
    return nullptr;
}

} // namespace

GResourceFileServerList& GResourceFileServerList::Instance() {
    static GResourceFileServerList list;
    return list;
}

GResourceFileServerList::~GResourceFileServerList() {
    GSingleLock lock(m_lock);
    for (int s = 0; s < m_servers.getCount(); ++s) {
        GResourceFileServer* server = m_servers.at(s);
        server->set_closing();
        const TGCollection<GResourceFile>& clients = server->clients();
        for (int c = clients.getCount() - 1; c >= 0; --c)
            clients.at(c)->serverClosed();
    }
    for (int s = m_servers.getCount() - 1; s >= 0; --s)
        delete m_servers.at(s);
    m_servers.remove_all();
}

GResourceFileServer* GResourceFileServerList::find(const char* name) {
    GSingleLock lock(m_lock);
    for (int i = m_servers.getCount() - 1; i >= 0; --i)
        if (m_servers.at(i)->isNameEquals(name))
            return m_servers.at(i);
    return nullptr;
}

GResourceFileServer* GResourceFileServerList::findOrCreate(const char* name, int mode) {
    GSingleLock lock(m_lock);
    if (name == nullptr || *name == '\0')
        return nullptr;
    if (GResourceFileServer* server = find(name))
        return server;
    std::unique_ptr<zpstream> stream = openArchiveFile(name, mode);
    if (!stream || !GResourceFile::IsValidToRead(*stream->getFileIO()))
        return nullptr;
    auto* server = new GResourceFileServer(stream.release(), name);
    m_servers.insert(server);
    return server;
}

GResourceFileServer* GResourceFileServerList::attach(GResourceFile* file, const char* name, int mode) {
    GSingleLock lock(m_lock);
    GResourceFileServer* server = findOrCreate(name, mode);
    if (server != nullptr)
        server->register_resource_file(file);
    return server;
}

void GResourceFileServerList::detach(GResourceFile* file, GResourceFileServer* server) {
    GSingleLock lock(m_lock);
    server->unregister_resource_file(file);
    if (server->clients().getCount() > 0 || server->is_closing())
        return;
    m_servers.remove(server);
    delete server;
}
