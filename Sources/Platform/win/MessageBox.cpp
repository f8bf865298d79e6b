#include "win/MessageBox.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace {

std::mutex& handlerLock() {
    static std::mutex lock;
    return lock;
}

MessageBoxHandler& installedHandler() {
    static MessageBoxHandler handler;
    return handler;
}

// The buttons of each type, in order.
struct Buttons {
    int ids[3];
    int count;
};

Buttons buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, IDCANCEL}, 2};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, IDRETRY, IDIGNORE}, 3};
    case MB_YESNOCANCEL:
        return {{IDYES, IDNO, IDCANCEL}, 3};
    case MB_YESNO:
        return {{IDYES, IDNO}, 2};
    case MB_RETRYCANCEL:
        return {{IDRETRY, IDCANCEL}, 2};
    default:
        return {{IDOK}, 1};
    }
}

int defaultAnswer(const char* text, const char* caption, UINT type) {
    std::fprintf(stderr, "%s%s%s\n", caption != nullptr ? caption : "", caption != nullptr ? ": " : "",
                 text != nullptr ? text : "");
    const Buttons buttons = buttonsOf(type);
    const int chosen = static_cast<int>((type & MB_DEFMASK) >> 8);
    return buttons.ids[chosen < buttons.count ? chosen : 0];
}

} // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    MessageBoxHandler handler;
    {
        const std::lock_guard lock(handlerLock());
        handler = installedHandler();
    }
    return handler ? handler(owner, text, caption, type) : defaultAnswer(text, caption, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    const std::lock_guard lock(handlerLock());
    return std::exchange(installedHandler(), std::move(handler));
}
