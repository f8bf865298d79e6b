#include "Errors/GException.h"

#include "Text/CoreStringTable.h"
#include "Text/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

bool isStringId(const char* text) {
    return text != nullptr && reinterpret_cast<std::uintptr_t>(text) < 0x10000;
}

// An exception of the family that nobody catches ends the program with its message on standard error.
std::terminate_handler previousTerminate = nullptr;

[[noreturn]] void reportUncaughtException() {
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const CException* e) {
            char text[1024];
            if (e->GetErrorMessage(text, sizeof text))
                std::fprintf(stderr, "%s\n", text);
        } catch (...) {
        }
    }
    if (previousTerminate != nullptr)
        previousTerminate();
    std::abort();
}

[[maybe_unused]] const bool terminateHandlerInstalled =
    (previousTerminate = std::set_terminate(reportUncaughtException), true);

} // namespace

GException::~GException() = default;

// Message texts come through the registered string loaders. Before the host has registered one (while the
// modules of the program start) the core's own table answers, so no error goes without its text.
GString GLibraryException::MessageText(unsigned id) {
    GString text;
    if (!text.loadString(id))
        text.loadString(GetCoreModule(), id);
    return text;
}

GLibraryException::GLibraryException(const char* text)
    : m_message(isStringId(text) ? MessageText(static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(text)))
                                 : GString(text)) {}

GLibraryException::GLibraryException(unsigned id) : m_message(MessageText(id)) {}

void GLibraryException::message(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    m_message.vformat(fmt, args);
    va_end(args);
}

void GLibraryException::message(unsigned id, ...) {
    va_list args;
    va_start(args, id);
    m_message.vformat(static_cast<const char*>(MessageText(id)), args);
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
