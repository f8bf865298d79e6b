#pragma once
// Library errors outside the I/O family: collection indexes, class registration and files.

#include "Errors/GException.h"

class GCollection_IndexOutOfRange_Exception : public GLibraryException {
public:
    GCollection_IndexOutOfRange_Exception(long index, long low, long high);
    long getIndex() const { return m_index; }
    long getLow() const { return m_low; }
    long getHigh() const { return m_high; }

private:
    long m_index;
    long m_low;
    long m_high;
};

class DuplicatedTypes_Exception : public GLibraryException {
public:
    explicit DuplicatedTypes_Exception(const char* className);
    const GString& getClassName() const { return m_className; }

private:
    GString m_className;
};

class FileIsAbsent_Exception : public GLibraryException {
public:
    explicit FileIsAbsent_Exception(const char* fileName);
    const GString& getFileName() const { return m_fileName; }

private:
    GString m_fileName;
};

class InvalidFileFormat_Exception : public GLibraryException {
public:
    InvalidFileFormat_Exception();
    explicit InvalidFileFormat_Exception(const char* text);
};
