#pragma once
// Thread identity.

#include "win/Win32Types.h"

// The calling thread's id, unique in the system while the thread lives (the kernel's thread id).
DWORD GetCurrentThreadId();
