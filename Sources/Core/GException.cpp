#include "Core/GException.h"

#include "Core/Utf8.h"

#include <algorithm>
#include <cstring>

GException::~GException() = default;

GLibraryException::GLibraryException(const char* text) : m_message(text) {}

GLibraryException::GLibraryException(unsigned id) {
    m_message.loadString(id);
}

void GLibraryException::message(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    m_message.vformat(fmt, args);
    va_end(args);
}

void GLibraryException::message(unsigned id, ...) {
    va_list args;
    va_start(args, id);
    m_message.vformat(id, args);
    va_end(args);
}

BOOL GLibraryException::GetErrorMessage(char* buffer, UINT size, UINT* helpContext) const {
    if (helpContext != nullptr)
        *helpContext = 0;
    if (buffer != nullptr && size != 0) {
        const std::size_t length = Utf8::boundaryBefore(m_message, std::min<std::size_t>(m_message.length(), size - 1));
        std::memcpy(buffer, static_cast<const char*>(m_message), length);
        buffer[length] = '\0';
    }
    return m_message.isEmpty() ? FALSE : TRUE;
}
