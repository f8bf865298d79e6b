#include "Streams/InvalidPStream_Exception.h"

#include "Text/CoreStringIds.h"
#include "Text/TypeName.h"

#include <cstdarg>

InvalidPStreamIndex_Exception::InvalidPStreamIndex_Exception(const std::type_info& type, unsigned long index,
                                                             long position)
    : m_type(type), m_index(index), m_position(position) {
    message(IDS_PSTREAM_INDEX, index, static_cast<const char*>(TypeName(type)), position);
}

InvalidPStreamMarker_Exception::InvalidPStreamMarker_Exception(int marker, long position)
    : m_marker(marker), m_position(position) {
    message(IDS_PSTREAM_MARKER, marker, position);
}

InvalidPStreamPrefix_Exception::InvalidPStreamPrefix_Exception(long position) : m_position(position) {
    message(IDS_PSTREAM_PREFIX, position);
}

UnknownStreamableType_Exception::UnknownStreamableType_Exception(const char* className) : m_className(className) {
    message(IDS_UNKNOWN_STREAMABLE, static_cast<const char*>(m_className));
}

InvalidPStreamSuffix_Exception::InvalidPStreamSuffix_Exception(long position, const char* className)
    : m_position(position), m_className(className) {
    message(IDS_PSTREAM_SUFFIX, position, static_cast<const char*>(m_className));
}

AbstractClass_Exception::AbstractClass_Exception(const char* className) : m_className(className) {
    message(IDS_ABSTRACT_CLASS, static_cast<const char*>(m_className));
}

OldPrefix_Exception::OldPrefix_Exception() : InvalidPStream_Exception(IDS_OLD_PREFIX) {}

OldVersionOfClass_Exception::OldVersionOfClass_Exception(unsigned version, const std::type_info& type)
    : m_version(version), m_type(type) {
    message(IDS_OLD_VERSION, version, static_cast<const char*>(TypeName(type)));
}

NewVersionOfClass_Exception::NewVersionOfClass_Exception(unsigned version, const std::type_info& type)
    : m_version(version), m_type(type) {
    message(IDS_NEW_VERSION, version, static_cast<const char*>(TypeName(type)));
}

NotBaseClass_Exception::NotBaseClass_Exception(const std::type_info& objectType, const std::type_info& requiredType,
                                               long position)
    : m_objectType(objectType), m_requiredType(requiredType), m_position(position) {
    message(IDS_NOT_BASE_CLASS, static_cast<const char*>(TypeName(objectType)),
            static_cast<const char*>(TypeName(requiredType)), position);
}

GFileReadError_Exception::GFileReadError_Exception() : InvalidPStream_Exception(IDS_GFILE_INVALID_INDEX) {}

NonZeroPStreamState_Exception::NonZeroPStreamState_Exception() = default;

void RaiseStreamError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    GString text;
    text.vformat(format, args);
    va_end(args);
    auto* error = new InvalidPStream_Exception("");
    error->message("%s", static_cast<const char*>(text));
    throw error;
}
