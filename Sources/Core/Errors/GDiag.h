#pragma once
// Diagnostics: a process-wide text file ("gdiag.out" in the current directory unless renamed) and the
// assertion-style exceptions.

#include "Errors/GException.h"

#include <ostream>

// Sets the diagnostic file name (at most 256 bytes; null or "" restores "gdiag.out"). The stream is closed and
// reopened under the new name on its next use.
void GDiagSetFileName(const char* name);

// The diagnostic stream, opened (truncating the file) on first use.
std::ostream& GDiagStream();

// Writes "a b line: " to the diagnostic stream and returns it.
std::ostream& GDiagStream(const char* a, const char* b, unsigned line);

class GDiagException : public GLibraryException {
public:
    // "<kind> failure: '<expression>'\non line <line> in file '<file>'"
    GDiagException(const char* kind, const char* expression, const char* file, unsigned line);
    const GString& getExpression() const { return m_expression; }
    const GString& getFile() const { return m_file; }
    unsigned getLine() const { return m_line; }

private:
    GString m_expression;
    GString m_file;
    unsigned m_line;
};

class GCheckException : public GDiagException {
public:
    GCheckException(const char* expression, const char* file, unsigned line);
};

class GPreconditionException : public GDiagException {
public:
    GPreconditionException(const char* expression, const char* file, unsigned line);
};
