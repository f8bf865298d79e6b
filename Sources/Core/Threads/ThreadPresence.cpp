#include "Threads/ThreadPresence.h"

#include <atomic>

namespace {

std::atomic<const ThreadPresence::Observer*> installed{nullptr};

// One per thread: the observer told of the thread's start, which is told of its end when the thread exits.
struct Presence {
    const ThreadPresence::Observer* toldTo = nullptr;
    ~Presence() {
        if (toldTo != nullptr)
            toldTo->ended();
    }
};

thread_local Presence presence;

} // namespace

void ThreadPresence::SetObserver(const Observer* observer) {
    installed.store(observer, std::memory_order_release);
}

void ThreadPresence::NoteCurrentThread() {
    if (presence.toldTo != nullptr)
        return;
    const Observer* observer = installed.load(std::memory_order_acquire);
    if (observer == nullptr)
        return;
    presence.toldTo = observer; // first, since telling the observer sends a notification, which comes back here
    observer->started();
}
