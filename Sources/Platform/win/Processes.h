#pragma once
// Starting programs as CreateProcess does, on posix_spawn: a program and a command line split by Windows' rules
// into the program's arguments. The process runs on its own; nobody need wait for it (it is reaped when it
// ends), and its handles are closed with CloseHandle.

#include "win/Win32Types.h"

#include <string>
#include <vector>

struct STARTUPINFOA {
    DWORD cb;
    char* lpReserved;
    char* lpDesktop;
    char* lpTitle;
    DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute, dwFlags;
    WORD wShowWindow, cbReserved2;
    BYTE* lpReserved2;
    HANDLE hStdInput, hStdOutput, hStdError;
};

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

// Starts `applicationName` (or, when it is null, the first word of the command line, looked up on PATH) with the
// words of `commandLine` as its arguments (the first one its argv[0]), in `currentDirectory` when given. The
// security attributes, handle inheritance, creation flags, environment and start-up information are taken as
// Windows takes them but not used: the child gets this process's environment. FALSE, with errno for
// GetLastError, when the program cannot be started.
BOOL CreateProcessA(const char* applicationName, char* commandLine, void* processAttributes, void* threadAttributes,
                    BOOL inheritHandles, DWORD creationFlags, void* environment, const char* currentDirectory,
                    STARTUPINFOA* startupInfo, PROCESS_INFORMATION* information);
// Closes a handle CreateProcessA gave; FALSE for anything else.
BOOL CloseHandle(HANDLE handle);

// The words of a command line by the rules of Windows' C runtime: spaces and tabs separate words; double quotes
// group and are removed; 2n backslashes before a quote make n backslashes, 2n + 1 make n and a literal quote;
// other backslashes stay.
std::vector<std::string> SplitCommandLine(const char* commandLine);
