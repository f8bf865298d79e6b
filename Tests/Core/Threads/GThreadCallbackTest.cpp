#include "Threads/GThreadCallback.h"

#include "Threads/GCallbackReceiver.h"
#include "Threads/GCallbackSender.h"
#include "Threads/GThread.h"
#include "win/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Seen {
    bool started;
    DWORD threadId;
    DWORD deliveredOn;
};

// Receivers of thread events are called on the threads concerned, so this one locks.
class ThreadWatcher : public GCallbackReceiver {
public:
    ThreadWatcher() { GThreadCallback::RegisterCallback(this); }
    ~ThreadWatcher() override { GThreadCallback::UnRegisterCallback(this); }

    void callbackReceived(GCallbackEvent& event) override {
        const auto& thread = static_cast<GThreadCallbackEvent&>(event);
        std::lock_guard guard(m_lock);
        m_seen.push_back(
            {event.reason == GThreadCallback::Reason_ThreadStarted, thread.threadId, GetCurrentThreadId()});
    }

    std::vector<Seen> eventsOf(DWORD thread) {
        std::lock_guard guard(m_lock);
        std::vector<Seen> result;
        for (const Seen& s : m_seen)
            if (s.threadId == thread)
                result.push_back(s);
        return result;
    }

private:
    std::mutex m_lock;
    std::vector<Seen> m_seen;
};

const GCallbackReason Reason_Ping;

class PingCounter : public GCallbackReceiver {
public:
    void callbackReceived(GCallbackEvent&) override { ++pings; }
    std::atomic<int> pings = 0;
};

} // namespace

TEST(GThreadCallback, AGThreadIsReportedOnItself) {
    ThreadWatcher watcher;
    std::atomic<DWORD> id = 0;
    {
        GThread thread([&] { id = GetCurrentThreadId(); });
        thread.join();
    }
    const std::vector<Seen> events = watcher.eventsOf(id);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[0].started);
    EXPECT_FALSE(events[1].started);
    EXPECT_EQ(events[0].deliveredOn, id.load());
    EXPECT_EQ(events[1].deliveredOn, id.load());
}

TEST(GThreadCallback, AnotherThreadIsReportedWhenItFirstSends) {
    ThreadWatcher watcher;
    PingCounter counter;
    GCallbackSender sender;
    sender.attachReceiver(&counter);
    std::atomic<DWORD> id = 0;
    std::atomic<std::size_t> eventsBeforeFirstSend = 99;
    std::thread plain([&] {
        id = GetCurrentThreadId();
        eventsBeforeFirstSend = watcher.eventsOf(id).size();
        GCallbackEvent ping{Reason_Ping};
        sender.send(ping);
        sender.send(ping);
    });
    plain.join();
    EXPECT_EQ(eventsBeforeFirstSend.load(), 0u);
    EXPECT_EQ(counter.pings.load(), 2);
    const std::vector<Seen> events = watcher.eventsOf(id);
    ASSERT_EQ(events.size(), 2u); // started once, before the first send; ended once
    EXPECT_TRUE(events[0].started);
    EXPECT_FALSE(events[1].started);
    EXPECT_EQ(events[1].deliveredOn, id.load());
}

TEST(GThreadCallback, AThreadThatNeverTouchesTheCoreIsNotReported) {
    ThreadWatcher watcher;
    std::atomic<DWORD> id = 0;
    std::thread quiet([&] { id = GetCurrentThreadId(); });
    quiet.join();
    EXPECT_TRUE(watcher.eventsOf(id).empty());
}
