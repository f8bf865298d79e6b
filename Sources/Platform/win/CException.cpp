#include "win/CException.h"

CException::~CException() = default;

BOOL CException::GetErrorMessage(char* buffer, UINT size, UINT* helpContext) const {
    if (helpContext != nullptr)
        *helpContext = 0;
    if (buffer != nullptr && size != 0)
        *buffer = '\0';
    return FALSE;
}
