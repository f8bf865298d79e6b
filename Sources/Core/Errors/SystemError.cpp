#include "Errors/SystemError.h"

#include <cstring>

GString SystemErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r returns its text, which may or may not be in the buffer.
    return GString(strerror_r(error, buffer, sizeof buffer));
}
