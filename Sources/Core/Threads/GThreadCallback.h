#pragma once
// Thread notifications: { Reason_ThreadStarted, thread id } when a thread starts in the process and
// { Reason_ThreadEnded, thread id } when it ends, each sent on the thread concerned.
//
// Linux tells a library nothing of thread starts, so the core reports the threads it can see (ThreadPresence):
// every thread started with GThread (reported before its body runs), and any other thread the first time it
// sends a callback or takes a pool block. Each reported thread's end is reported when it exits. A thread that never
// touches the core is never reported, and neither is its end.

#include "Threads/GCallbackReason.h"
#include "win/Win32Types.h"

class GCallbackReceiver;

struct GThreadCallbackEvent : GCallbackEvent {
    DWORD threadId;
};

class GThreadCallback {
public:
    static const GCallbackReason Reason_ThreadStarted;
    static const GCallbackReason Reason_ThreadEnded;

    static void RegisterCallback(GCallbackReceiver* receiver);
    static void UnRegisterCallback(GCallbackReceiver* receiver);
};
