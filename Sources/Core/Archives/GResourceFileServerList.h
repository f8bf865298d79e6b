#pragma once
// GResourceFileServerList: the servers of the process, one per open archive file. A server is listed by the first
// handle that opens its file and destroyed when its last handle closes; when the list goes (the library unloads)
// every handle is closed and every server flushed and destroyed.

#include "Collections/TGCollection.h"
#include "Threads/GCriticalSection.h"

class GResourceFile;
class GResourceFileServer;

class GResourceFileServerList {
public:
    static GResourceFileServerList& Instance();
    ~GResourceFileServerList();

    // The listed server of that file, searched from the newest; null when none.
    GResourceFileServer* find(const char* name);
    // The file's server, opened and listed when there is none; null when the file cannot be opened as an archive.
    GResourceFileServer* findOrCreate(const char* name, int mode);
    // Attaches `file` to the file's server (made when needed) in one step, so the server cannot go in between.
    GResourceFileServer* attach(GResourceFile* file, const char* name, int mode);
    // Detaches `file`; a server left without handles is destroyed, unless the list is being torn down.
    void detach(GResourceFile* file, GResourceFileServer* server);

private:
    GResourceFileServerList() = default;

    GCriticalSection m_lock;
    TGCollection<GResourceFileServer> m_servers{0, 4, false};
};
