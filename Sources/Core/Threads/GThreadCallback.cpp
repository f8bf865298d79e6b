#include "Threads/GThreadCallback.h"

#include "Threads/GCallbackSender.h"
#include "Threads/ThreadPresence.h"
#include "win/Threads.h"

const GCallbackReason GThreadCallback::Reason_ThreadStarted;
const GCallbackReason GThreadCallback::Reason_ThreadEnded;

namespace {

void sendThreadEvent(const GCallbackReason& reason) {
    GThreadCallbackEvent event{};
    event.reason = reason;
    event.threadId = GetCurrentThreadId();
    ClassCallbackSender<GThreadCallback>().send(event);
}

void reportStarted() {
    sendThreadEvent(GThreadCallback::Reason_ThreadStarted);
}

void reportEnded() {
    sendThreadEvent(GThreadCallback::Reason_ThreadEnded);
}

constexpr ThreadPresence::Observer Reports{reportStarted, reportEnded};

// The reports follow the threads that the core sees from the moment the library is loaded.
const struct InstallReports {
    InstallReports() { ThreadPresence::SetObserver(&Reports); }
} installReports;

} // namespace

void GThreadCallback::RegisterCallback(GCallbackReceiver* receiver) {
    ClassCallbackSender<GThreadCallback>().attachReceiver(receiver);
}

void GThreadCallback::UnRegisterCallback(GCallbackReceiver* receiver) {
    ClassCallbackSender<GThreadCallback>().detachReceiver(receiver);
}
