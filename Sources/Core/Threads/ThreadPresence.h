#pragma once
// Which threads have touched the core. Linux tells a library nothing of thread starts, so the units every thread
// passes through (notification senders, the memory pool, GThread) note the calling thread here; the observer (the
// thread reports) is told of a thread's start the first time it is noted and of its end when it exits. This unit
// knows neither its callers nor its observer, so the lowest units can use it.

class ThreadPresence {
public:
    struct Observer {
        void (*started)();
        void (*ended)();
    };

    // Installs the one observer; threads are noted only while there is one.
    static void SetObserver(const Observer* observer);
    // Tells the observer that the calling thread started unless it was already told; its end is then told when
    // the thread exits.
    static void NoteCurrentThread();
};
