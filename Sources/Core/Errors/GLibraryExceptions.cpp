#include "Errors/GLibraryExceptions.h"

#include "Text/CoreStringIds.h"

GCollection_IndexOutOfRange_Exception::GCollection_IndexOutOfRange_Exception(long index, long low, long high)
    : m_index(index), m_low(low), m_high(high) {
    message(IDS_INDEX_OUT_OF_RANGE, index, low, high);
}

DuplicatedTypes_Exception::DuplicatedTypes_Exception(const char* className) : m_className(className) {
    message(IDS_DUPLICATED_TYPES, static_cast<const char*>(m_className));
}

FileIsAbsent_Exception::FileIsAbsent_Exception(const char* fileName) : m_fileName(fileName) {
    message(IDS_FILE_IS_ABSENT, static_cast<const char*>(m_fileName));
}

InvalidFileFormat_Exception::InvalidFileFormat_Exception() : GLibraryException(IDS_INVALID_FILE_FORMAT) {}

InvalidFileFormat_Exception::InvalidFileFormat_Exception(const char* text) : GLibraryException(text) {}
