#include "Archives/GResourceFile.h"

#include "Archives/ArchiveLayout.h"
#include "Archives/GResourceFileServer.h"
#include "Archives/GResourceFileServerList.h"
#include "Classes/GClassBoilerplate.h"
#include "IO/GFileIO.h"
#include "Streams/InvalidPStream_Exception.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"
#include "Threads/GCallbackSender.h"
#include "Threads/GCriticalSection.h"

G_IMPLEMENT_CLASS(GResourceFile, GStreamable)

const GCallbackReason GResourceFile::Reason_ItemPut;
const GCallbackReason GResourceFile::Reason_ItemRemoved;
const GCallbackReason GResourceFile::Reason_ItemRenamed;
const GCallbackReason GResourceFile::Reason_ItemCopied;
const GCallbackReason GResourceFile::Reason_TypeCreated;
const GCallbackReason GResourceFile::Reason_TypeRemoved;
const GCallbackReason GResourceFile::Reason_TypeRenamed;
const GCallbackReason GResourceFile::Reason_DirectoryCreated;
const GCallbackReason GResourceFile::Reason_DirectoryRemoved;
const GCallbackReason GResourceFile::Reason_DirectoryRenamed;
const GCallbackReason GResourceFile::Reason_DirectoryEmptied;
const GCallbackReason GResourceFile::Reason_CurrentDirectoryChanged;
const GCallbackReason GResourceFile::Reason_Flushed;

namespace {

// The archive notices: one sender for the process, attached to and sent through under its own lock, since
// archives are used from several threads.
struct Notices {
    GCriticalSection lock;
    GCallbackSender sender;
};

Notices& notices() {
    static Notices instance;
    return instance;
}

} // namespace

GResourceFile::GResourceFile() {
    RegisterCallback(this);
}

GResourceFile::GResourceFile(const char* name, int mode) : GResourceFile() {
    open(name, mode);
}

GResourceFile::~GResourceFile() {
    close();
    UnRegisterCallback(this);
}

bool GResourceFile::open(const char* name, int mode) {
    close();
    try {
        m_server = GResourceFileServerList::Instance().attach(this, name, mode);
    } catch (CException* e) {
        CExceptionPtr<> held(e);
        m_server = nullptr;
    }
    m_current.empty();
    m_storedMode = 0;
    return m_server != nullptr;
}

void GResourceFile::close() {
    if (GResourceFileServer* server = std::exchange(m_server, nullptr))
        GResourceFileServerList::Instance().detach(this, server);
}

int GResourceFile::io_mode() const {
    return m_server != nullptr ? m_server->io_mode() : 0;
}

GFile GResourceFile::get_filename() const {
    return m_server != nullptr ? m_server->get_filename() : GFile();
}

bool GResourceFile::flush() {
    return m_server != nullptr && m_server->flush();
}

bool GResourceFile::is_modified() const {
    return m_server != nullptr && m_server->is_modified();
}

void GResourceFile::mark_as_modified() {
    if (m_server != nullptr)
        m_server->mark_as_modified();
}

void GResourceFile::set_current_directory(const GResourcePath& path) {
    if (path == m_current)
        return;
    const GResourcePath previous = m_current;
    m_current = path;
    PathRenameInfo info{{{Reason_CurrentDirectoryChanged}, m_server}, &previous, &m_current, this};
    EvokeCallback(info);
}

GResourceFullName GResourceFile::inCurrent(const char* name, const char* type) const {
    return GResourceFullName(m_current, type, name);
}

GResourcePath GResourceFile::fromCurrent(const GResourcePath& path) const {
    GResourcePath full = m_current;
    full += path;
    return full;
}

// Directories

bool GResourceFile::directory_exists(const GResourcePath& path) const {
    return m_server != nullptr && m_server->directory_exists(path);
}

bool GResourceFile::create_directory(const GResourcePath& path) {
    return m_server != nullptr && m_server->create_directory(path);
}

bool GResourceFile::remove_directory(const GResourcePath& path) {
    return m_server != nullptr && m_server->remove_directory(path);
}

bool GResourceFile::rename_directory(const GResourcePath& from, const GResourcePath& to) {
    return m_server != nullptr && m_server->rename_directory(from, to);
}

bool GResourceFile::copy_directory(const GResourcePath& to, const GResourcePath& from) {
    return m_server != nullptr && m_server->copy_items(to, *m_server, from);
}

bool GResourceFile::copy_directory_from(const GResourcePath& to, const GResourceFile& other,
                                        const GResourcePath& from) {
    return m_server != nullptr && other.m_server != nullptr && m_server->copy_items(to, *other.m_server, from);
}

bool GResourceFile::create_subdirectory(const GResourcePath& path) {
    return create_directory(fromCurrent(path));
}

bool GResourceFile::remove_subdirectory(const GResourcePath& path) {
    return remove_directory(fromCurrent(path));
}

// Items

bool GResourceFile::exist(const GResourceFullName& name) const {
    return m_server != nullptr && m_server->exist(name);
}

bool GResourceFile::exist(const char* name, const char* type) const {
    return exist(inCurrent(name, type));
}

bool GResourceFile::put(GStreamable* object, const GResourceFullName& name, bool keep) {
    return m_server != nullptr && m_server->put(object, name, keep);
}

bool GResourceFile::put(GStreamable* object, const char* name, const char* type, bool keep) {
    return put(object, inCurrent(name, type), keep);
}

GStreamable* GResourceFile::get(const GResourceFullName& name, bool keep) {
    return m_server != nullptr ? m_server->get(name, keep) : nullptr;
}

GStreamable* GResourceFile::get(const char* name, const char* type, bool keep) {
    return get(inCurrent(name, type), keep);
}

bool GResourceFile::remove(const GResourceFullName& name) {
    return m_server != nullptr && m_server->remove(name);
}

bool GResourceFile::remove(const char* name, const char* type) {
    return remove(inCurrent(name, type));
}

bool GResourceFile::remove_type(const GResourceFullName& name) {
    return m_server != nullptr && m_server->remove_type(name);
}

bool GResourceFile::remove_type(const char* type) {
    return remove_type(inCurrent("", type));
}

bool GResourceFile::empty() {
    return m_server != nullptr && m_server->empty();
}

bool GResourceFile::rename(const GResourceFullName& from, const GResourceFullName& to) {
    return m_server != nullptr && m_server->rename(from, to);
}

bool GResourceFile::rename(const char* from, const char* to, const char* type) {
    return rename(inCurrent(from, type), inCurrent(to, type));
}

bool GResourceFile::copy(const GResourceFullName& from, const GResourceFullName& to) {
    return m_server != nullptr && m_server->copy(from, to);
}

GString GResourceFile::read_class_name(const GResourceFullName& name) const {
    return m_server != nullptr ? m_server->read_class_name(name) : GString();
}

GString GResourceFile::read_class_name(const char* name, const char* type) const {
    return read_class_name(inCurrent(name, type));
}

GResourceFileBlock GResourceFile::get_resource_block(const GResourceFullName& name) const {
    return m_server != nullptr ? m_server->get_resource_block(name) : GResourceFileBlock();
}

GResourceFileBlock GResourceFile::get_resource_block(const char* name, const char* type) const {
    return get_resource_block(inCurrent(name, type));
}

bool GResourceFile::copy_from(const GResourceFile& other) {
    return copy_from(GResourcePath(), other, GResourcePath());
}

bool GResourceFile::copy_from(const GResourcePath& to, const GResourceFile& other, const GResourcePath& from) {
    return copy_directory_from(to, other, from);
}

bool GResourceFile::copy_from(const GResourceFullName& name, GIO& stream, long position, long size) {
    return m_server != nullptr && m_server->copy_from(name, stream, position, size, GResourceFileBlock(false));
}

bool GResourceFile::extract_to(GIO& stream, const GResourceFullName& name, bool decompress) {
    return m_server != nullptr && m_server->extract_to(stream, name, decompress);
}

bool GResourceFile::pack() {
    return m_server != nullptr && m_server->pack();
}

// Servers

bool GResourceFile::IsValidToRead(const char* fileName) {
    GFileIO file;
    return file.open(fileName, GIO::ReadOnly, GFileIO::OpenExisting, GFileIO::ShareReadWrite) && IsValidToRead(file);
}

bool GResourceFile::IsValidToRead(GIO& stream) {
    const long start = stream.gtell();
    const long size = stream.gseek(0, GIO::FromEnd);
    const bool valid = ArchiveLayout::FindBase(stream, start, size).base >= 0;
    stream.gseek(start, GIO::FromBegin);
    return valid;
}

GResourceFileServer* GResourceFile::FindServer(const char* name) {
    return GResourceFileServerList::Instance().find(name);
}

GResourceFileServer* GResourceFile::FindOrCreate(const char* name, int mode) {
    return GResourceFileServerList::Instance().findOrCreate(name, mode);
}

// Notifications

void GResourceFile::RegisterCallback(GCallbackReceiver* receiver) {
    GSingleLock lock(notices().lock);
    notices().sender.attachReceiver(receiver);
}

void GResourceFile::UnRegisterCallback(GCallbackReceiver* receiver) {
    GSingleLock lock(notices().lock);
    notices().sender.detachReceiver(receiver);
}

void GResourceFile::EvokeCallback(GCallbackEvent& event) {
    GSingleLock lock(notices().lock);
    notices().sender.send(event);
}

void GResourceFile::callbackReceived(GCallbackEvent& event) {
    if (event.reason != Reason_DirectoryRenamed)
        return;
    const auto& renamed = static_cast<const PathRenameInfo&>(event);
    GResourcePath moved = m_current;
    if (renamed.server == m_server && m_server != nullptr && moved.rename_path_from_root(*renamed.from, *renamed.to))
        set_current_directory(moved);
}

// Stream form

void GResourceFile::write(opstream& stream) const {
    stream.writeByte(2);
    stream.writeByte(m_server != nullptr ? 1 : 0);
    if (m_server == nullptr)
        return;
    stream.writeDWord(m_storedMode != 0 ? m_storedMode : static_cast<DWORD>(io_mode()));
    stream << get_filename();
    stream << GResourceFullName(m_current, "", "");
}

void GResourceFile::read(ipstream& stream) {
    const BYTE version = stream.readVersion(2, typeid(GResourceFile));
    close();
    if (stream.readByte() == 0)
        return;
    const DWORD mode = version >= 1 ? stream.readDWord() : DWORD{GIO::ReadWrite};
    if (mode < GIO::ReadOnly || mode > GIO::ReadWrite)
        RaiseStreamError("Invalid archive open mode %u. Position=%li", static_cast<unsigned>(mode),
                         static_cast<long>(stream.countOfReadBytes()));
    GFile name;
    stream >> name;
    GResourceFullName position;
    if (version >= 2)
        stream >> position;
    // A stream names a file; it must neither make nor change one, so the file is only read. The stored mode is
    // kept for the handle's own stream form.
    if (name.expand().exists() && !name.isDirectory() && open(name, GIO::ReadOnly)) {
        m_current = position.get_path();
        m_storedMode = mode;
    }
}
