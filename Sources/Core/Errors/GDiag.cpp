#include "Errors/GDiag.h"

#include <fstream>

namespace {

constexpr const char* DefaultName = "gdiag.out";
constexpr unsigned MaxNameBytes = 256;

struct Diagnostics {
    GString name{DefaultName};
    std::ofstream stream;
};

Diagnostics& diagnostics() {
    static Diagnostics instance;
    return instance;
}

const char* orEmpty(const char* text) {
    return text == nullptr ? "" : text;
}

} // namespace

void GDiagSetFileName(const char* name) {
    Diagnostics& d = diagnostics();
    d.name = name == nullptr || *name == '\0' ? GString(DefaultName) : GString(name).left(MaxNameBytes - 1);
    d.stream.close();
}

std::ostream& GDiagStream() {
    Diagnostics& d = diagnostics();
    if (!d.stream.is_open()) {
        d.stream.clear();
        d.stream.open(static_cast<const char*>(d.name), std::ios::out | std::ios::trunc);
    }
    return d.stream;
}

std::ostream& GDiagStream(const char* a, const char* b, unsigned line) {
    return GDiagStream() << orEmpty(a) << ' ' << orEmpty(b) << ' ' << line << ": ";
}

GDiagException::GDiagException(const char* kind, const char* expression, const char* file, unsigned line)
    : m_expression(expression), m_file(file), m_line(line) {
    message("%s failure: '%s'\non line %u in file '%s'", orEmpty(kind), static_cast<const char*>(m_expression), line,
            static_cast<const char*>(m_file));
}

GCheckException::GCheckException(const char* expression, const char* file, unsigned line)
    : GDiagException("Check", expression, file, line) {}

GPreconditionException::GPreconditionException(const char* expression, const char* file, unsigned line)
    : GDiagException("Precondition", expression, file, line) {}
