#pragma once
// Errors of byte devices, files and compression.

#include "Errors/GException.h"

class GIOException : public GLibraryException {
public:
    using GLibraryException::GLibraryException;
};

// An operating-system error, with the system's text for it.
class GFileIOException : public GIOException {
public:
    using GIOException::GIOException;
};

class GWriteToReadOnlyException : public GIOException {
public:
    GWriteToReadOnlyException();
};

class GReadFromWriteOnlyException : public GIOException {
public:
    GReadFromWriteOnlyException();
};

// A failed zlib call: the message is the field of the zlib messages that matches the negative result code.
class GCompressionException : public GIOException {
public:
    explicit GCompressionException(int zlibCode);
    int getCode() const { return m_code; }

private:
    int m_code;
};
