#include "win/Threads.h"

#include <unistd.h>

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(gettid());
}
