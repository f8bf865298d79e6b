#include "win/Processes.h"

#include <cerrno>
#include <mutex>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// What a process or thread handle stands for. The handles given out are kept, so CloseHandle knows its own.
struct ProcessHandle {
    pid_t pid;
};

struct Handles {
    std::mutex lock;
    std::set<ProcessHandle*> live;
};

Handles& handles() {
    static Handles instance;
    return instance;
}

HANDLE keep(pid_t pid) {
    auto* handle = new ProcessHandle{pid};
    const std::lock_guard<std::mutex> guard(handles().lock);
    handles().live.insert(handle);
    return handle;
}

} // namespace

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> words;
    if (commandLine == nullptr)
        return words;
    const char* p = commandLine;
    while (true) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            return words;
        std::string word;
        bool quoted = false;
        for (; *p != '\0' && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '\\') {
                std::size_t slashes = 0;
                while (p[slashes] == '\\')
                    ++slashes;
                if (p[slashes] == '"') {
                    word.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        word += '"';
                        p += slashes;
                        continue;
                    }
                    p += slashes - 1; // the quote is next
                } else {
                    word.append(slashes, '\\');
                    p += slashes - 1;
                }
            } else if (*p == '"') {
                quoted = !quoted;
            } else {
                word += *p;
            }
        }
        words.push_back(word);
    }
}

BOOL CreateProcessA(const char* applicationName, char* commandLine, void*, void*, BOOL, DWORD, void*,
                    const char* currentDirectory, STARTUPINFOA*, PROCESS_INFORMATION* information) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    const std::string program = applicationName != nullptr ? applicationName : words.empty() ? "" : words.front();
    if (program.empty()) {
        errno = ENOENT;
        return FALSE;
    }
    if (words.empty())
        words.push_back(program);
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (currentDirectory != nullptr)
        posix_spawn_file_actions_addchdir_np(&actions, currentDirectory);
    pid_t pid = 0;
    const bool searched = applicationName == nullptr && program.find('/') == std::string::npos;
    const int result = searched ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, arguments.data(), environ)
                                : posix_spawn(&pid, program.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        errno = result;
        return FALSE;
    }
    // Nobody is bound to wait for the child: a thread of its own reaps it when it ends.
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    if (information != nullptr)
        *information = {keep(pid), keep(pid), static_cast<DWORD>(pid), static_cast<DWORD>(pid)};
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    auto* process = static_cast<ProcessHandle*>(handle);
    {
        const std::lock_guard<std::mutex> guard(handles().lock);
        if (handles().live.erase(process) == 0)
            return FALSE;
    }
    delete process;
    return TRUE;
}
