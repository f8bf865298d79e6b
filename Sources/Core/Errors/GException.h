#pragma once
// The root of the core's exceptions, and GLibraryException, which carries a finished message. Exceptions are
// thrown as heap pointers (`throw new X(...)`) and released by the catcher with Delete() (see CExceptionPtr).

#include "Text/GString.h"
#include "win/CException.h"

class GException : public CException {
public:
    ~GException() override;
};

class GLibraryException : public GException {
public:
    // The message is GString(text): a value below 0x10000 is loaded as a string id, unformatted.
    explicit GLibraryException(const char* text);
    // The message is string `id`, unformatted.
    explicit GLibraryException(unsigned id);

    void message(const char* fmt, ...) GSTRING_PRINTF(2, 3);
    void message(unsigned id, ...);
    const GString& getMessage() const { return m_message; }

    // Copies the message, cut to size - 1 bytes without splitting a character; TRUE when it is not empty.
    BOOL GetErrorMessage(char* buffer, UINT size, UINT* helpContext = nullptr) const override;

protected:
    GLibraryException() = default;
    // The text of string `id` of the core's messages.
    static GString MessageText(unsigned id);

private:
    GString m_message;
};
