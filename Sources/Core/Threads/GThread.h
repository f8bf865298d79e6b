#pragma once
// GThread: the way the system starts threads of its own. The thread is reported through GThreadCallback
// before its body runs and when it ends.

#include <functional>
#include <thread>

class GThread {
public:
    explicit GThread(std::function<void()> body);
    // Waits for the thread to end.
    ~GThread();
    GThread(const GThread&) = delete;
    GThread& operator=(const GThread&) = delete;

    // Waits for the thread to end; its end has been reported when this returns.
    void join();

private:
    std::thread m_thread;
};
