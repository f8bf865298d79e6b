#pragma once
// Errors in the data of persistent object streams. Positions are byte positions in the stream.

#include "IO/GIOException.h"

#include <typeinfo>

class InvalidPStream_Exception : public GIOException {
public:
    using GIOException::GIOException;
};

// A reference to an object that the stream has not read (yet).
class InvalidPStreamIndex_Exception : public InvalidPStream_Exception {
public:
    InvalidPStreamIndex_Exception(const std::type_info& type, unsigned long index, long position);
    const std::type_info& getType() const { return m_type; }
    unsigned long getIndex() const { return m_index; }
    long getPosition() const { return m_position; }

private:
    const std::type_info& m_type;
    unsigned long m_index;
    long m_position;
};

class InvalidPStreamMarker_Exception : public InvalidPStream_Exception {
public:
    InvalidPStreamMarker_Exception(int marker, long position);
    int getMarker() const { return m_marker; }
    long getPosition() const { return m_position; }

private:
    int m_marker;
    long m_position;
};

class InvalidPStreamPrefix_Exception : public InvalidPStream_Exception {
public:
    explicit InvalidPStreamPrefix_Exception(long position);
    long getPosition() const { return m_position; }

private:
    long m_position;
};

class UnknownStreamableType_Exception : public InvalidPStream_Exception {
public:
    explicit UnknownStreamableType_Exception(const char* className);
    const GString& getClassName() const { return m_className; }

private:
    GString m_className;
};

class InvalidPStreamSuffix_Exception : public InvalidPStream_Exception {
public:
    InvalidPStreamSuffix_Exception(long position, const char* className);
    long getPosition() const { return m_position; }
    const GString& getClassName() const { return m_className; }

private:
    long m_position;
    GString m_className;
};

class AbstractClass_Exception : public InvalidPStream_Exception {
public:
    explicit AbstractClass_Exception(const char* className);
    const GString& getClassName() const { return m_className; }

private:
    GString m_className;
};

class OldPrefix_Exception : public InvalidPStream_Exception {
public:
    OldPrefix_Exception();
};

// Raised by a class's own reader for a format version it no longer reads.
class OldVersionOfClass_Exception : public InvalidPStream_Exception {
public:
    OldVersionOfClass_Exception(unsigned version, const std::type_info& type);
    unsigned getVersion() const { return m_version; }
    const std::type_info& getType() const { return m_type; }

private:
    unsigned m_version;
    const std::type_info& m_type;
};

// Raised for a format version newer than the reader knows: its layout is unknown, so reading it as the newest
// known one would misread everything after it.
class NewVersionOfClass_Exception : public InvalidPStream_Exception {
public:
    NewVersionOfClass_Exception(unsigned version, const std::type_info& type);
    unsigned getVersion() const { return m_version; }
    const std::type_info& getType() const { return m_type; }

private:
    unsigned m_version;
    const std::type_info& m_type;
};

class NotBaseClass_Exception : public InvalidPStream_Exception {
public:
    NotBaseClass_Exception(const std::type_info& objectType, const std::type_info& requiredType, long position);
    const std::type_info& getObjectType() const { return m_objectType; }
    const std::type_info& getRequiredType() const { return m_requiredType; }
    long getPosition() const { return m_position; }

private:
    const std::type_info& m_objectType;
    const std::type_info& m_requiredType;
    long m_position;
};

// A file name read from a stream is invalid.
class GFileReadError_Exception : public InvalidPStream_Exception {
public:
    GFileReadError_Exception();
};

// Raises an InvalidPStream_Exception with a message formatted from `format`: the report of malformed data that no
// exception of its own describes.
[[noreturn]] void RaiseStreamError(const char* format, ...) GSTRING_PRINTF(1, 2);

// The stream was already in an error state; carries no message of its own.
class NonZeroPStreamState_Exception : public InvalidPStream_Exception {
public:
    NonZeroPStreamState_Exception();
};
