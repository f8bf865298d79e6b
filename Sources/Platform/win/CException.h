#pragma once
// The application framework's exception base. Exceptions are allocated with new, thrown as pointers and
// released by the catcher with Delete(); CExceptionPtr does that in one place.

#include "win/Win32Types.h"

#include <memory>

class CException {
public:
    CException() = default;
    virtual ~CException();
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // Releases a heap-allocated exception; the catcher calls it once it is done with the exception.
    void Delete() { delete this; }

    // Copies the error text into `buffer`. The base class has none: it leaves an empty text and returns FALSE.
    virtual BOOL GetErrorMessage(char* buffer, UINT size, UINT* helpContext = nullptr) const;
};

struct CExceptionDeleter {
    void operator()(CException* exception) const noexcept {
        if (exception != nullptr)
            exception->Delete();
    }
};

// Owns a caught exception: `catch (GException* e) { CExceptionPtr<GException> held(e); ... }`.
template <class T = CException>
using CExceptionPtr = std::unique_ptr<T, CExceptionDeleter>;
