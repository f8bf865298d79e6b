#include "Threads/GThreadCallback.h"

#include "Threads/GCallbackSender.h"
#include "win/Threads.h"

const GCallbackReason GThreadCallback::Reason_ThreadStarted;
const GCallbackReason GThreadCallback::Reason_ThreadEnded;

namespace {

GCallbackSender& threadSender() {
    static GCallbackSender sender;
    return sender;
}

void sendThreadEvent(const GCallbackReason& reason) {
    GThreadCallbackEvent event{};
    event.reason = reason;
    event.threadId = GetCurrentThreadId();
    threadSender().send(event);
}

// One per thread: it reports the thread's end when the thread exits, if its start was reported.
struct ThreadPresence {
    bool reported = false;
    ~ThreadPresence() {
        if (reported)
            sendThreadEvent(GThreadCallback::Reason_ThreadEnded);
    }
};

thread_local ThreadPresence presence;

} // namespace

void GThreadCallback::RegisterCallback(GCallbackReceiver* receiver) {
    threadSender().attachReceiver(receiver);
}

void GThreadCallback::UnRegisterCallback(GCallbackReceiver* receiver) {
    threadSender().detachReceiver(receiver);
}

void GThreadCallback::NoteCurrentThread() {
    if (presence.reported)
        return;
    presence.reported = true; // first, since the send itself comes back here
    sendThreadEvent(Reason_ThreadStarted);
}
